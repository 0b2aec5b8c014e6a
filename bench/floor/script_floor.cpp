// The floor of the headless figures: what a driver does that plays no game. It reads the script
// as the driver reads it, a line at a time, each checked into a command, and writes the given
// transcript (the real driver's) to standard output, a line at a time through the same stream.
//   script_floor SCRIPT TRANSCRIPT
#include <fstream>
#include <iostream>
#include <string>

#include "platform/headless/script_reader.hpp"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: script_floor SCRIPT TRANSCRIPT\n";
    return 2;
  }
  std::ifstream script(argv[1]), transcript(argv[2]);
  if (!script || !transcript) {
    std::cerr << "script_floor: cannot read the script or the transcript\n";
    return 1;
  }
  long bad = 0;
  ScriptReader reader(script);
  while (const auto line = reader.next()) bad += !line->command;
  for (std::string l; std::getline(transcript, l);) std::cout << l << '\n';
  std::cout.flush();
  return bad ? 1 : 0;
}
