/* The one call of the settings-file reader the game makes, for the web build, where the Debian
   library is not there to link: src/platform/web/settings_reader.cpp reads the lines the same way. */
#pragma once
#ifdef __cplusplus
extern "C" {
#endif
typedef char* (*ini_reader)(char* str, int num, void* stream);
typedef int (*ini_handler)(void* user, const char* section, const char* name, const char* value);
int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user);
#ifdef __cplusplus
}
#endif
