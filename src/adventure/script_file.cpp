#include "adventure/script_file.h"

#include <cstring>
#include <new>
#include <vector>

#include "adventure/script_faults.h"
#include "adventure/world_commands.h"
#include "combat/actions/start_of_combat.h"
#include "engine/input.h"
#include "map/party_walk.h"
#include "platform/files.h"
#include "platform/system.h"
#include "state/turn_order.h"

cGameScript GameScript;
uint32_t (&ScriptLocals)[kScriptLocalCount] = GameScript.locals;
uint8_t EventConsumed = 0;
uint32_t BlockDepth = 0;
uint32_t ScriptCommandLimit = kScriptCommandLimit;
uint32_t ScriptBoxLimit = kScriptBoxLimit;
int64_t ScriptTimeLimitMicroseconds = kScriptTimeLimitMicroseconds;
uint32_t ScriptCommandsRun = 0;
uint32_t ScriptBoxesShown = 0;

namespace {

// The processor time the running script's commands have taken so far is the
// thread's time less this; a box waiting adds its own time to it.
int64_t g_runTimeBase = 0;
int64_t g_pausedAt = 0;
// The clock is read once in so many commands: one command's work is small.
constexpr uint32_t kCommandsPerClockReading = 64;
uint32_t g_commandsSinceClockReading = 0;

// The mouse's limits in the logical picture.
constexpr int32_t kMouseRight = 309;
constexpr int32_t kMouseBottom = 229;

// Reads little-endian words from a byte range, refusing to pass its end.
class ByteReader {
 public:
  ByteReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
  bool Word(uint32_t* out) {
    if (size_ - at_ < 4) return false;
    const uint8_t* p = bytes_ + at_;
    *out = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
    at_ += 4;
    return true;
  }
  const uint8_t* Take(size_t n) {
    if (size_ - at_ < n) return nullptr;
    const uint8_t* p = bytes_ + at_;
    at_ += n;
    return p;
  }
  size_t Left() const { return size_ - at_; }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t at_ = 0;
};

void FreeArguments(ScriptCommand* node) {
  if (!node->arguments) return;
  for (uint32_t i = 0; i < node->argumentCount; ++i) delete[] node->arguments[i].text;
  delete[] node->arguments;
  node->arguments = nullptr;
}

// Reads one argument; false when its text runs past the end.
bool ReadArgument(ByteReader& in, ScriptArgument* a) {
  if (!in.Word(&a->kind) || !in.Word(&a->value)) return false;
  if (a->kind != kArgumentText || a->value == 0) return true;
  const uint8_t* bytes = in.Take(a->value);
  if (!bytes) return false;
  a->text = new (std::nothrow) char[static_cast<size_t>(a->value) + 1];
  if (!a->text) return false;
  std::memcpy(a->text, bytes, a->value);
  // A zero byte stands behind the text's own, so a text written without one still ends.
  a->text[a->value] = '\0';
  return true;
}

ScriptFileResult Damaged(ScriptCommand* list, const char* why) {
  FreeCommandNodes(list);
  ScriptDebugLine("damaged script file (%s); nothing runs", why);
  return kScriptDamaged;
}

}  // namespace

int32_t ArgumentValue(const ScriptCommand* command, int i) {
  if (!command || i < 0 || static_cast<uint32_t>(i) >= command->argumentCount || !command->arguments) return 0;
  return static_cast<int32_t>(command->arguments[i].value);
}

const char* ArgumentText(const ScriptCommand* command, int i) {
  if (!command || i < 0 || static_cast<uint32_t>(i) >= command->argumentCount || !command->arguments) return "";
  const ScriptArgument& a = command->arguments[i];
  return a.kind == kArgumentText && a.text ? a.text : "";
}

cScript::~cScript() {
  FreeCommandNodes(head);
  head = nullptr;
  commandCount = 0;
}

ScriptFileResult ParseScriptBytes(const uint8_t* bytes, size_t size, ScriptCommand** head, uint32_t* count) {
  *head = nullptr;
  *count = 0;
  ByteReader in(bytes, size);
  uint32_t n = 0;
  if (!in.Word(&n)) return Damaged(nullptr, "no command count");
  // Every command takes at least eight bytes: a count beyond them is damage.
  if (n > in.Left() / 8) return Damaged(nullptr, "more commands than the file holds");
  ScriptCommand* first = nullptr;
  ScriptCommand* last = nullptr;
  for (uint32_t c = 0; c < n; ++c) {
    ScriptCommand* node = new (std::nothrow) ScriptCommand{};
    if (!node) return Damaged(first, "out of memory");
    if (last) last->next = node;
    else first = node;
    last = node;
    if (!in.Word(&node->op) || !in.Word(&node->argumentCount)) return Damaged(first, "a command runs past the end");
    if (node->argumentCount > in.Left() / 8) {
      node->argumentCount = 0;
      return Damaged(first, "more arguments than the file holds");
    }
    if (node->argumentCount == 0) continue;
    node->arguments = new (std::nothrow) ScriptArgument[node->argumentCount]{};
    if (!node->arguments) {
      node->argumentCount = 0;
      return Damaged(first, "out of memory");
    }
    for (uint32_t a = 0; a < node->argumentCount; ++a)
      if (!ReadArgument(in, &node->arguments[a])) return Damaged(first, "a text runs past the end");
  }
  // Bytes after the last command are not read.
  *head = first;
  *count = n;
  return kScriptLoaded;
}

void FreeCommandNodes(ScriptCommand* node) {
  // The rest of the list goes before each node; a loop frees it without
  // reaching as deep as the list is long.
  while (node) {
    ScriptCommand* next = node->next;
    FreeArguments(node);
    delete node;
    node = next;
  }
}

int FreeScript() {
  FreeCommandNodes(GameScript.head);
  GameScript.head = nullptr;
  GameScript.commandCount = 0;
  ++GameScript.listsFreed;
  return 1;
}

int LoadScriptFile(const char* path) {
  FreeScript();
  if (!path) return 0;
  FILE* f = platform::OpenGameFile(path, "rb");
  if (!f) return 0;
  std::vector<uint8_t> bytes;
  uint8_t block[4096];
  size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, f)) > 0) bytes.insert(bytes.end(), block, block + got);
  std::fclose(f);
  ScriptCommand* head = nullptr;
  uint32_t count = 0;
  if (ParseScriptBytes(bytes.data(), bytes.size(), &head, &count) != kScriptLoaded) {
    ScriptDebugLine("%s is damaged; nothing of it runs", path);
    return 0;
  }
  GameScript.head = head;
  GameScript.commandCount = count;
  return 1;
}

bool ScriptBudgetLeft() {
  if (++ScriptCommandsRun > ScriptCommandLimit) {
    ScriptDebugLine("the script ran %u commands without a dialogue box; it is stopped", ScriptCommandLimit);
    return false;
  }
  if (ScriptBoxesShown >= ScriptBoxLimit) {
    ScriptDebugLine("the script showed %u dialogue boxes; it is stopped", ScriptBoxLimit);
    return false;
  }
  if (++g_commandsSinceClockReading < kCommandsPerClockReading) return true;
  g_commandsSinceClockReading = 0;
  if (platform::ThreadProcessorMicroseconds() - g_runTimeBase > ScriptTimeLimitMicroseconds) {
    ScriptDebugLine("the script worked for more than %lld ms; it is stopped",
                    static_cast<long long>(ScriptTimeLimitMicroseconds / 1000));
    return false;
  }
  return true;
}

void PauseScriptBudget() { g_pausedAt = platform::ThreadProcessorMicroseconds(); }

void ResumeScriptBudget() {
  g_runTimeBase += platform::ThreadProcessorMicroseconds() - g_pausedAt;
  ScriptCommandsRun = 0;
  ++ScriptBoxesShown;
}

int RunScriptFile(const char* path) {
  EventConsumed = 1;
  NoSurpriseFlag = 0;
  if (path) LoadScriptFile(path);
  if (GameScript.Prepare() == 0) return 0;
  if (!GameScript.head) return 0;
  BlockDepth = 0;
  // A run started by a command of another keeps that run's budget apart.
  const uint32_t outerCommands = ScriptCommandsRun, outerBoxes = ScriptBoxesShown;
  const int64_t outerBase = g_runTimeBase;
  ScriptCommandsRun = 0;
  ScriptBoxesShown = 0;
  g_runTimeBase = platform::ThreadProcessorMicroseconds();
  ScriptCommand* node = GameScript.head;
  while (node) node = GameScript.Execute(node);
  ScriptCommandsRun = outerCommands;
  ScriptBoxesShown = outerBoxes;
  g_runTimeBase = outerBase;
  GameScript.Release();
  if (path) FreeScript();
  if (EventConsumed == 1 && InCombat == 0) {
    CancelPartyWalk();
    int32_t& x = PointerDevice.x;
    int32_t& y = PointerDevice.y;
    if (x == 0) x = 1;
    if (x == kMouseRight) x = kMouseRight - 1;
    if (y == 0) y = 1;
    if (y == kMouseBottom) y = kMouseBottom - 1;
  }
  ClearCreatureHighlights();
  return 1;
}
