// The script compiler's reader: adventure scripts written as readable text
// in, the compiled ".mls" bytes (the layout in src/adventure/script_file.h)
// or the faults out, each as "file:line: message".
//
// A source is one script, a command a line:
//
//   # a comment (also after a command)
//   flag MetTheSmith 12          a name for adventure flag 12
//   local Visits 3               a name for script local 3
//   const Smith 410              a name for any other number
//   if_flag MetTheSmith 0
//     ask "Welcome, ~." "Hello." "Goodbye."
//     if_answer 1
//       set_flag MetTheSmith 1
//     endif
//   endif
//   goto Farewell
//   label Farewell
//   end
//
// Commands are named (the table in script_commands.cpp); their arguments are
// numbers, names (flags, locals, constants, labels) or quoted texts with the
// escapes \" \\ \r \n \t and \xNN ("£" stands for the byte 0xA3); a byte
// the game's fonts cannot show (common/shown_bytes.h) is refused in a text it
// shows (a question or journal text shows \r as a line end). Labels are
// named or numbered; a named label gets a number of its own. Names shared by
// the scripts of an adventure live in names files (declarations only).
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// What a declared name stands for.
enum class NameKind { kFlag, kLocal, kConst };
struct ScriptName {
  NameKind kind;
  int32_t value;
  std::string where;  // "file:line" of the declaration
  // The entry that says a names file had a refused line (its name is
  // empty): the scripts are then checked for their own faults alone.
  bool refused = false;
  int line = 0;  // of the declaration
};
using ScriptNames = std::map<std::string, ScriptName>;

struct ScriptSourceResult {
  bool ok = false;
  std::vector<uint8_t> bytes;       // the compiled file when ok
  std::vector<std::string> errors;  // "file:line: message"
  // The shared names the script uses, and the names it uses that nothing
  // declares with the lines that use them (their faults are among `errors`
  // when no line was refused).
  std::set<std::string> usedShared;
  std::map<std::string, std::vector<int>> undeclared;
};

// Reads a names file (flag, local and const lines and comments only) into
// *names; false with the faults in *errors. A refused line is one fault,
// and the names files and scripts read after it are checked for their own
// faults alone (not for a name it may have declared).
bool ReadScriptNames(const std::string& fileName, const std::string& text, ScriptNames* names,
                     std::vector<std::string>* errors);

// Compiles one script with the shared names.
ScriptSourceResult CompileScriptSource(const std::string& fileName, const std::string& text,
                                       const ScriptNames& shared);

// The sources of an adventure's scripts: each names file and script as
// (file name, text).
struct ScriptText {
  std::string file, text;
};
struct ScriptSetResult {
  std::vector<std::vector<uint8_t>> compiled;  // each script's compiled file, when every source is sound
  std::vector<std::string> errors;             // "file:line: message", the names files' first
};

// Reads the names files and compiles every script with their names, as
// makescripts does: each source's faults as ReadScriptNames and
// CompileScriptSource find them, but that a name of a names file no script
// uses, one byte from a name scripts use and nothing declares (a letter of
// the declaration lost, put in or changed), is one fault at its
// declaration, not one at each use.
ScriptSetResult CompileScriptSet(const std::vector<ScriptText>& namesFiles, const std::vector<ScriptText>& scripts);

// The output name of a source: "Map3_7.txt" gives "Map3_7.mls"; empty when
// the name is not a script name (letters, digits, '_', '-', '.', ' ').
std::string ScriptOutputName(const std::string& sourcePath);
