// Driver scripts from memory, as broken as the fuzzer can make them. Every line must be read into
// a command or refused with a reason, in memory bounded by the line's bound; a command holds only
// what its words allow: ticks within their bound, a zoom of 1 to 4, a file for a screenshot.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/headless/script_reader.hpp"

namespace {

void check(const ScriptCommand& c) {
  using Kind = ScriptCommand::Kind;
  const bool within_the_line = c.name.size() <= kMaxScriptLine && c.value.size() <= kMaxScriptLine &&
                               c.draws.size() <= kMaxScriptLine / 2;
  if (!within_the_line) std::abort();
  const bool ticks = c.kind == Kind::tick || c.kind == Kind::answer;
  if (ticks && (c.number < 0 || c.number > kMaxScriptTicks)) std::abort();
  if (c.kind == Kind::screenshot && (c.name.empty() || c.number < 1 || c.number > 4)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
  ScriptReader reader(script);
  size_t lines = 0;
  while (const auto line = reader.next()) {
    if (++lines > size) std::abort();  // every line read takes a byte of the script at least
    if (line->command) check(*line->command);
    else if (line->error.empty()) std::abort();
    if (line->last && reader.next()) std::abort();
  }
  return 0;
}
