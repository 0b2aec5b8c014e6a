// ルシェラ２ in a web page: the default data pack lies in the page's files at /game, the save in
// the browser's storage; the zoom is the page's choice.
#include <emscripten.h>

#include <exception>
#include <iostream>

#include "core/game.hpp"
#include "platform/system_storage.hpp"
#include "platform/web/web_host.hpp"

int main() {
  use_storage(system_storage());
  const int scale = EM_ASM_INT({ return Module.lusheraScale ? Module.lusheraScale() : 1; });
  WebHost host("#screen", scale);
  EM_ASM({ Module.lusheraSave.restore("/game/dat/"); });
  try {
    Game g(host, "/game", false);
    return host.run(g);
  } catch (const std::exception& e) {
    host.report(std::string("the game stopped: ") + e.what());
  } catch (...) {
    host.report("the game stopped on an unknown error");
  }
  return 1;
}
