// Compiled adventure scripts: the ".mls" file, the command list read from
// it, the script object that owns the list and its local variables, and
// RunScriptFile, through which every trigger of the game runs a script.
//
// The file (little-endian, no header): u32 command count, then the commands
// back to back. A command: u32 operation code, u32 argument count, then the
// arguments. An argument: u32 kind (1 a text, anything else an integer), u32
// value (the integer, or the text's length in bytes with its zero byte),
// then for a text of length above 0 its bytes.
#pragma once
#include <cstddef>
#include <cstdint>

// One argument of a loaded command. A text's buffer holds `value` bytes and
// always ends with a zero byte; it is null for an integer or an empty text.
struct ScriptArgument {
  uint32_t kind = 0;
  uint32_t value = 0;
  char* text = nullptr;
};
constexpr uint32_t kArgumentText = 1;

// One node of the loaded command list.
struct ScriptCommand {
  uint32_t op = 0;
  uint32_t argumentCount = 0;
  ScriptArgument* arguments = nullptr;  // null when the count is 0
  ScriptCommand* next = nullptr;        // null after the last
};

// Argument i of a command as an integer; 0 when the command has no argument i.
int32_t ArgumentValue(const ScriptCommand* command, int i);
// Argument i as a zero-terminated text; "" when it is missing, an integer or empty.
const char* ArgumentText(const ScriptCommand* command, int i);

constexpr int kScriptLocalCount = 256;

// The plain script object: runs a list node by node.
class cScript {
 public:
  cScript() = default;
  cScript(const cScript&) = delete;
  cScript& operator=(const cScript&) = delete;
  // Frees the loaded list.
  virtual ~cScript();
  // Called before a run; 0 cancels it.
  virtual int Prepare() { return 1; }
  // Called after a run.
  virtual int Release() { return 1; }
  // Carries a command out and gives the command to continue with (null ends the run).
  virtual ScriptCommand* Execute(ScriptCommand* node) { return node ? node->next : nullptr; }

  uint32_t commandCount = 0;
  ScriptCommand* head = nullptr;
  // Counts the lists freed, so that what was worked out for a list (its
  // labels) is not taken for a new one at the same place.
  uint32_t listsFreed = 0;
};

// The game's script object: its commands are the adventure's, and it holds
// the 256 local variables, zero at start and kept from run to run for the
// whole run of the program (not saved with a game).
class cGameScript : public cScript {
 public:
  ScriptCommand* Execute(ScriptCommand* node) override;
  uint32_t locals[kScriptLocalCount] = {};
};
extern cGameScript GameScript;
extern uint32_t (&ScriptLocals)[kScriptLocalCount];

// The result of reading a script file.
enum ScriptFileResult : int {
  kScriptLoaded = 0,
  kScriptMissing = 1,   // the file cannot be opened
  kScriptDamaged = 2,   // a count or a length runs past the file's end, or bytes are left over
};
// Reads a script file from memory into a fresh list at *head (with its
// command count); on damage *head stays null and nothing is kept.
ScriptFileResult ParseScriptBytes(const uint8_t* bytes, size_t size, ScriptCommand** head, uint32_t* count);

// Frees any loaded list, then reads the file: 1 when it was read whole and
// sound, 0 when it is missing or damaged (the list then stays empty and a
// debug line says why).
int LoadScriptFile(const char* path);
// Frees the loaded list (count and head 0). 1.
int FreeScript();
// Frees a node's arguments and the rest of the list behind it, then the node.
void FreeCommandNodes(ScriptCommand* node);

// 1 while a script runs; a script that declines its event (commands 53 and
// 69) leaves it 0 and the party's walk goes on.
extern uint8_t EventConsumed;
// The nesting count of skipped conditional blocks, 0 at the start of each run.
extern uint32_t BlockDepth;
// The bounds of one run, tested in this order: the most commands it carries
// out between two dialogue boxes, the most boxes it shows, and, last, the
// most processor time its commands take (the time a box waits for its
// answer not counted). A run beyond any of them is a loop without end, or
// work no script needs, and is stopped; the two counts stop it at the same
// command on every machine.
constexpr uint32_t kScriptCommandLimit = 2000000;
constexpr uint32_t kScriptBoxLimit = 10000;
constexpr int64_t kScriptTimeLimitMicroseconds = 2000000;
extern uint32_t ScriptCommandLimit;
extern uint32_t ScriptBoxLimit;
extern int64_t ScriptTimeLimitMicroseconds;
extern uint32_t ScriptCommandsRun;
extern uint32_t ScriptBoxesShown;
// Counts a command of the running script: false (with a debug line) when
// the run has reached one of its bounds.
bool ScriptBudgetLeft();
// Around a dialogue box: its waiting is no work of the script's. The box
// is counted and starts the count of commands afresh.
void PauseScriptBudget();
void ResumeScriptBudget();

// Runs a script file (null: the list already loaded, neither reloaded nor
// freed) to its end. 1 after a run, 0 when nothing ran.
int RunScriptFile(const char* path);
