// The quest journal "Journal.dat" of a saved game, loaded in a whole slot;
// the journal read from it reads back whole and the same once written again,
// every entry with its length, text, state and value.
#include "fuzz/saved_game_fuzzing.h"

GH_FUZZ_TARGET(save_journal) {
  savefuzz::LoadWithFile("Journal.dat", data, size);
  std::vector<JournalEntry> journal, back;
  DecodeJournal(data, size, &journal);
  std::vector<uint8_t> bytes;
  EncodeJournal(journal, &bytes);
  if (!DecodeJournal(bytes.data(), bytes.size(), &back)) FuzzFault("a written journal did not read back whole");
  for (size_t i = 0; i < journal.size(); ++i)
    if (journal[i].text != back[i].text || journal[i].length != back[i].length ||
        journal[i].state != back[i].state || journal[i].value != back[i].value)
      FuzzFault("journal entry " + std::to_string(i) + " read back otherwise");
}
