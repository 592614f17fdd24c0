// Plays a plain-text script against the headless game, in the current folder
// as the game's working folder. One command a line; '#' starts a comment.
//   seed N          seed the random generator
//   own-folder      play in a game folder of the script's own (the built
//                   game linked in, saved games kept apart and removed at
//                   the end); before the game starts
//   frames N        run N frames
//   key NAME        press, one frame, release (F2, Return, Escape, A, Keypad 8...)
//   keydown NAME    press and hold
//   keyup NAME      release
//   move X Y        move the mouse (logical 320x240 coordinates)
//   click X Y       left click; "click X Y right" for the right button
//   tap X Y         left button pressed and let go at (X, Y) before the next
//                   frame (a touchpad tap)
//   tap-key NAME    a key pressed and let go before the next frame
//   drag X Y TX TY  press the left button at (X, Y), move to (TX, TY), let go
//   wheel N         turn the wheel N notches (negative: towards you)
//   menu ID         choose a window-menu item (1000-1002, 2000, 2001)
//   close           press the window's close button
//   box-key NAME    queue a key for the next dialogue box (played inside its loop)
//   box-click X Y   queue a left click for the next dialogue box
//   box-close       queue the close button for the next dialogue box
//   box-says TEXT   the dialogue box open (read before its answer) holds TEXT
//   shot FILE.png   save the picture (inside a dialogue box: the box as drawn)
//                   into the folder GREVENHOLT_SHOTS names; without it nothing
//                   is written (PLAYSCRIPT_BOX_SHOTS=FOLDER saves the boxes'
//                   pictures, those of a battle too, as FOLDER/box<N>.png;
//                   see below)
//   no-window-manager  from here on the window shows the pictures (headless
//                   too) and, as under a desktop without a window manager,
//                   keeps its size when it asks for full screen
//   desktop-area W H  from here on the window shows the pictures (headless
//                   too) and the desktop keeps it at a drawing area of W by H
//                   whatever size it asks for, as a tiling window manager
//                   does ("0 0": the size it asks for)
//   expect-window-shows-picture  the window shows the whole picture, fitted
//                   into its drawing area with bars where the shapes differ
//   keep-window-place  note where the window's picture (its client area)
//                   stands on the desktop
//   expect-window-place  the picture stands where keep-window-place noted
//   condition M ID R V  give creature M the condition ID for R rounds with
//                   value V, as a spell gives it (source 18), recomputed
//   log TEXT        add a line to the message log (\r stands for a carriage
//                   return, \xA3 for the highlight mark)
//   expect-ended    the game must have ended by now
//   expect-screen NAME  the last frame drew this screen function
//                   (DrawTextPageScreen, GameScreenFrame, SplashScreen...)
//   scene NAME      lay out a test scene and explore it (harness/test_scenes.h)
//   repeat N ... end  run the lines between up to N times
//   until-screen NAME leave the innermost repeat once the last frame drew NAME
//   until-frames N  leave the innermost repeat once N frames have run in all
//   expect-combat 0|1  whether a battle is under way
//   click-square X Y  point at square (X, Y) of the current map and click it
//   point-square X Y  point at square (X, Y) of the current map
//   point-at NAME   point at the figure of the creature named where the
//                   window shows it
//   pick-up X Y     point at square (X, Y) and pick up what lies there with
//                   Space from the list of its objects
//   wield NAME      drag the item named from the backpack of whoever carries
//                   it into that member's right hand, on the inventory page
//   walk-to X Y [N] walk the selected member there by clicks on the map (at
//                   most N clicks, 40 when not given); stops early when a
//                   dialogue box opens, a battle starts or the map changes
//   answer N        choose answer N of the next dialogue box by its key (a
//                   box opened by the line before reads this line itself)
//   fight [N]       play the party's turns of the battle under way until it
//                   ends: click the nearest enemy, then Space (at most N turns);
//                   a box opened meanwhile takes answer 1
//   wait-for COND   run frames until COND holds (at most 3,000); COND:
//                   combat, order (a party member's turn waits for an
//                   order), dialogue, exploring, victory, defeat,
//                   end-of-adventure, standing N, map M, flag F V,
//                   level M N (party member M is of level N),
//                   page T (page view shows a page of type T),
//                   cursor S (the last frame drew cursor shape S),
//                   healed M (member M at full hit points),
//                   spells-left M L N (member M has N spells of level L left),
//                   carries M C (member M carries an item of code C),
//                   windowed N (1 in a window, 0 full screen),
//                   hint TEXT (the text beside the cursor),
//                   hover NAME (the box of the creature under the
//                   pointer names NAME)
//   expect COND     COND must hold now; also present ID V, stands ID X Y,
//                   and fighters, fought and blows-on (who stands in the
//                   battle's order, who struck whom: harness/play_verbs.h)
//   wait-text C R TEXT  run frames until one draws TEXT in the large cells
//                   from column C of row R on (at most 3,000)
//   resident        print "resident KIB frame N": the resident size now and
//                   the frames run so far (for the long-session measurement)
//   click-text TEXT point at TEXT where the next frame draws it, click it
//   text TEXT       the next frame draws TEXT
//   no-text TEXT    the next frame draws TEXT nowhere
//   journal FILTER ENTRY / > FOLLOW-UP (done) / !TEXT
//                   open the journal with J, choose Pending, Completed or
//                   All, and find in it (scrolled on as needed), in this
//                   order, rows that begin with each text: "> " a follow-up,
//                   " (done)" a completed entry, "!" a text shown nowhere;
//                   Escape leaves
//   talk X Y        talk to the creature on square (X, Y) (right clicks on
//                   it step the weapon mode to talking, then a click)
//   win [N]         wait for the battle, fight it (at most N turns) and
//                   click the victory screen away
//   leave X Y       walk to the edge square (X, Y) and off the map onto the
//                   world map
//   travel PX PY M  on the world map, click the place at picture point
//                   (PX, PY) and travel to its map M; a group met on the
//                   way is fought and the party steps back onto the road
//   level-up M      raise party member M a level from its star in the party
//                   list (Strength, the first feats and spells listed);
//                   "level-up all" raises every member while a star shows
//   include FILE    play the lines of FILE (a path from the script's own
//                   folder) here, as if they stood in this script;
//                   "include FILE until TEXT" plays its lines before the
//                   first that holds TEXT (a comment's words, say)
//   keep-game NAME  keep the script's saved games (every slot but the
//                   prepared start) with the game under way in the next
//                   free slot as NAME, in the folder play-games/ beside the
//                   built game's folder, for the scripts that take up there
//                   (the script's own slots stay as they were); after
//                   own-folder, outside a battle. The sets a script keeps
//                   are removed as it starts (unless a keeper of another
//                   run is at work), and each is put in place whole
//   take-up NAME    the saved games kept as NAME brought into the script's
//                   own folder, the game started, and the last of them
//                   loaded from the main menu's "Load Game" as a player does;
//                   after own-folder, before the game starts (ctest runs the
//                   script that keeps NAME first; while none is kept and a
//                   script keeping NAME is at work, it waits for that set)
//   idle SECONDS    leave the game alone that long in its own loop on the
//                   real clock; print "idle-core-share X" (the process),
//                   "loop-core-share X" (the loop's thread), frames and
//                   pictures drawn a second
// With PLAYSCRIPT_ANSWERS set to a file, every answered box is added to it
// as a line (harness/play_verbs.h, RecordAnswersTo).
// Exits 0 when the script ran to its end, non-zero on a bad line or when the
// game ended before the script did.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "adventure/dialogue.h"
#include "engine/message_log.h"
#include "frontend/saved_games.h"
#include "shell/application.h"
#include "engine/last_screen.h"
#include "engine/main_window.h"
#include "harness/harness.h"
#include "harness/kept_games.h"
#include "harness/test_scenes.h"
#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"
#include "state/turn_order.h"
#include "harness/play_verbs.h"

namespace {

bool ParseInt(const std::string& s, long* out) {
  try {
    size_t used = 0;
    *out = std::stol(s, &used, 0);
    return used == s.size();
  } catch (...) {
    return false;
  }
}

// Splits a line into words; a key name may have a space ("Keypad 8"), so the
// rest of the line after the command is also kept whole.
struct Line {
  std::string command, rest;
  std::vector<std::string> words;
};

Line Split(const std::string& text) {
  Line line;
  std::istringstream in(text);
  std::string w;
  while (in >> w) line.words.push_back(w);
  if (!line.words.empty()) {
    line.command = line.words[0];
    const size_t at = text.find(line.command) + line.command.size();
    line.rest = text.substr(at);
    const size_t a = line.rest.find_first_not_of(" \t");
    const size_t b = line.rest.find_last_not_of(" \t\r");
    line.rest = a == std::string::npos ? "" : line.rest.substr(a, b - a + 1);
  }
  return line;
}

// Reads a script into `lines`, with the lines of every file it includes in
// their place; `origins` names each line's file and line number. False, with
// the fault in `fault`, when a file cannot be read or includes itself.
bool ReadScript(const std::filesystem::path& path, const std::string& until, std::vector<std::string>* lines,
                std::vector<std::string>* origins, std::vector<std::filesystem::path>* open, std::string* fault) {
  std::ifstream file(path);
  if (!file) {
    *fault = "cannot open " + path.string();
    return false;
  }
  for (const std::filesystem::path& p : *open)
    if (std::filesystem::equivalent(p, path)) {
      *fault = path.string() + " includes itself";
      return false;
    }
  open->push_back(path);
  int number = 0;
  for (std::string text; std::getline(file, text);) {
    ++number;
    if (!until.empty() && text.find(until) != std::string::npos) break;
    const Line l = Split(text.substr(0, text.find('#')));
    if (l.command == "include") {
      if (l.words.size() != 2 && (l.words.size() < 4 || l.words[2] != "until")) {
        *fault = path.string() + ":" + std::to_string(number) + ": include needs one file name (and until TEXT)";
        return false;
      }
      const std::string before = l.words.size() == 2 ? "" : l.rest.substr(l.rest.find("until") + 6);
      if (!ReadScript(path.parent_path() / l.words[1], before, lines, origins, open, fault)) return false;
      continue;
    }
    lines->push_back(text);
    origins->push_back(path.string() + ":" + std::to_string(number));
  }
  open->pop_back();
  return true;
}

// The kept games loaded as a player does, from the start: past the splash
// and the title, "Load Game" on the main menu (after "Demo" when the games
// kept are all of the introductory adventure), and the last slot's details
// on its page (slot s lies on the list's row s).
std::string LoadLastGame(const std::filesystem::path& saves) {
  harness::StepFrames(3);
  harness::Click(160, 120);  // the splash
  harness::StepFrames(2);
  harness::Click(160, 120);  // the title
  harness::StepFrames(2);
  const std::vector<std::filesystem::path> kept = harness::PlayersGames(saves);
  if (!kept.empty() && std::all_of(kept.begin(), kept.end(), [](const std::filesystem::path& slot) {
        return slot.parent_path().filename() == "DemoVersion";
      })) {
    if (std::string fault = playverbs::ClickOnText("Demo"); !fault.empty()) return fault;
    harness::StepFrames(2);
  }
  if (std::string fault = playverbs::ClickOnText("Load Game"); !fault.empty()) return fault;
  harness::StepFrames(2);
  const int slot = FindFreeSaveSlot() - 1;
  harness::Click(60, (24 * slot + 56) / 6 * 6 + 6);
  harness::StepFrames(10);
  if (std::strcmp(LastScreenDrawn, "GameScreenFrame") != 0)
    return std::string("the kept game was not loaded (the last frame drew ") + LastScreenDrawn + ")";
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: playscript SCRIPT\n";
    return 2;
  }
  std::vector<std::string> lines, origins;
  {
    std::vector<std::filesystem::path> open;
    std::string fault;
    if (!ReadScript(std::filesystem::absolute(argv[1]), "", &lines, &origins, &open, &fault)) {
      std::cerr << "playscript: " << fault << "\n";
      return 2;
    }
  }
  // Open repeats: the line after "repeat" and the runs left.
  struct Loop {
    size_t body;
    long left;
  };
  std::vector<Loop> loops;
  // The line after the "end" that closes the repeat opened at line i.
  auto closing = [&](size_t i) {
    int depth = 0;
    for (size_t j = i; j < lines.size(); ++j) {
      const Line l = Split(lines[j].substr(0, lines[j].find('#')));
      if (l.command == "repeat") ++depth;
      if (l.command == "end" && --depth == 0) return j + 1;
    }
    return lines.size();
  };
  // With PLAYSCRIPT_ANSWERS set to a file, each answered box is added to it.
  if (const char* answers = std::getenv("PLAYSCRIPT_ANSWERS")) playverbs::RecordAnswersTo(answers);
  std::vector<harness::KeptGamesHold> holds;  // of the sets this script keeps
  for (const std::string& l : lines)
    if (const Line kept = Split(l.substr(0, l.find('#'))); kept.command == "keep-game" && kept.words.size() == 2)
      holds.push_back(harness::ForgetKeptGames(kept.words[1]));
  std::string text;
  int number = 0;
  bool expectEnded = false;
  int keptPlaceX = 0, keptPlaceY = 0;  // keep-window-place
  std::filesystem::path ownFolder;
  auto leave = [&] {
    harness::StopGame();
    if (ownFolder.empty()) return;
    std::error_code ignored;
    std::filesystem::current_path(ownFolder.parent_path(), ignored);
    std::filesystem::remove_all(ownFolder, ignored);
  };
  auto fail = [&](const std::string& why) {
    std::cerr << (number >= 1 && number <= static_cast<int>(origins.size()) ? origins[number - 1] : argv[1]) << ": "
              << why << "\n";
    leave();
    return 1;
  };
  size_t at = 0;
  // A dialogue box runs its loop inside the frame that opened it, before the
  // lines after the one that opened it are read: the box reads them itself.
  // Its answers ("answer", "box-key", "box-click", "box-close") are taken
  // there, and "wait-for dialogue" or "expect dialogue" hold while it is open.
  std::string lastBox;
  int boxesSeen = 0;
  // What a box read a "box-says" line against and did not hold.
  std::string boxFault;
  bool fighting = false;
  // While travelling: the map travelled to (a box opened on another map,
  // a group met on the way, takes its first answer).
  int travelTo = -1;
  harness::SetBoxIdleHandler([&] {
    // With PLAYSCRIPT_TRACE set, each box's text is told once. With
    // PLAYSCRIPT_BOX_SHOTS set to a folder, the picture of each box whose text
    // holds PLAYSCRIPT_BOX_SHOT_TEXT (every box without it) is saved there as
    // box<N>.png, the boxes counted from 1, as the box's first pass draws it:
    // the play goes on as without the pictures.
    const char* shots = std::getenv("PLAYSCRIPT_BOX_SHOTS");
    if ((std::getenv("PLAYSCRIPT_TRACE") || shots) && lastBox != DialogueText) {
      lastBox = DialogueText;
      std::fprintf(stderr, "box %d: %.72s\n", ++boxesSeen, DialogueText);
      const char* only = std::getenv("PLAYSCRIPT_BOX_SHOT_TEXT");
      if (shots && (!only || lastBox.find(only) != std::string::npos))
        harness::SaveBoxPictureWhenDrawn(std::string(shots) + "/box" + std::to_string(boxesSeen) + ".png");
    }
    // A box in the middle of a battle (a companion falls) takes its first answer.
    if (fighting || (travelTo >= 0 && CurrentMapNumber != travelTo)) {
      harness::QueueBoxKey("1");
      return;
    }
    while (at < lines.size()) {
      const std::string ahead = lines[at].substr(0, lines[at].find('#'));
      const Line l = Split(ahead);
      long n = 0, bx = 0, by = 0;
      const bool two = l.words.size() == 2, three = l.words.size() == 3;
      if (l.command.empty() || ((l.command == "wait-for" || l.command == "expect") && l.rest == "dialogue")) {
        ++at;
        continue;
      }
      if (l.command == "box-says") {
        if (boxFault.empty() && std::string(DialogueText).find(l.rest) == std::string::npos)
          boxFault = std::string(origins[at]) + ": the box says \"" + std::string(DialogueText).substr(0, 60) +
                     "...\", not \"" + l.rest + "\"";
        number = static_cast<int>(++at);
        continue;
      }
      // A picture of the box as its last pass drew it.
      if (l.command == "shot" && two) {
        harness::SaveShot(l.words[1]);
        number = static_cast<int>(++at);
        continue;
      }
      if (l.command == "answer" && two && ParseInt(l.words[1], &n) && n >= 1 && n <= 5)
        harness::QueueBoxKey(std::to_string(n));
      else if (l.command == "box-key" && !l.rest.empty() && harness::QueueBoxKey(l.rest)) {
      } else if (l.command == "box-click" && three && ParseInt(l.words[1], &bx) && ParseInt(l.words[2], &by))
        harness::QueueBoxClick(static_cast<int>(bx), static_cast<int>(by));
      else if (l.command == "box-close" && l.words.size() == 1)
        harness::QueueBoxClose();
      else
        return;
      number = static_cast<int>(++at);
      return;
    }
  });
  for (; at < lines.size();) {
    text = lines[at++];
    number = static_cast<int>(at);
    const size_t hash = text.find('#');
    if (hash != std::string::npos) text.resize(hash);
    Line line = Split(text);
    if (line.command.empty()) continue;
    const std::string& c = line.command;
    if (c == "seed") {
      long n;
      if (line.words.size() != 2 || !ParseInt(line.words[1], &n)) return fail("seed needs a number");
      harness::SeedRandom(static_cast<uint32_t>(n));
      continue;
    }
    if (c == "own-folder") {
      if (harness::GameRunning() || !ownFolder.empty()) return fail("own-folder comes before the game starts, once");
      if (!harness::MakeOwnGameFolder(&ownFolder)) return fail("no game folder of its own could be made");
      continue;
    }
    if (c == "take-up") {
      if (line.words.size() != 2) return fail("take-up needs a name");
      if (harness::GameRunning() || ownFolder.empty()) return fail("take-up comes after own-folder, before the game starts");
      // The kept games alone: none that the built game's folder holds besides.
      if (const std::string fault = harness::TakeUpKeptGames(line.words[1], ownFolder / "SaveGame"); !fault.empty())
        return fail(fault);
      if (!harness::StartGame()) return fail("the game did not start");
      if (const std::string fault = LoadLastGame(ownFolder / "SaveGame"); !fault.empty()) return fail(fault);
      continue;
    }
    if (!harness::GameRunning() && !harness::GameEnded() && !harness::StartGame())
      return fail("the game did not start");
    if (c == "repeat") {
      long n = 0;
      if (line.words.size() != 2 || !ParseInt(line.words[1], &n) || n < 0) return fail("repeat needs a count");
      if (n == 0)
        at = closing(at - 1);
      else
        loops.push_back({at, n});
      continue;
    }
    if (c == "end") {
      if (loops.empty()) return fail("end without repeat");
      if (--loops.back().left > 0)
        at = loops.back().body;
      else
        loops.pop_back();
      continue;
    }
    if (c == "until-screen") {
      if (line.words.size() != 2 || loops.empty()) return fail("until-screen needs a name inside a repeat");
      if (line.words[1] == LastScreenDrawn) {
        at = closing(loops.back().body - 1);
        loops.pop_back();
      }
      continue;
    }
    if (c == "until-frames") {
      long n = 0;
      if (line.words.size() != 2 || !ParseInt(line.words[1], &n) || loops.empty())
        return fail("until-frames needs a count inside a repeat");
      if (App.FramesCalled() >= static_cast<uint64_t>(n)) {
        at = closing(loops.back().body - 1);
        loops.pop_back();
      }
      continue;
    }
    if (c == "expect-ended") {
      if (!harness::GameEnded()) return fail("the game is still running");
      expectEnded = true;
      continue;
    }
    if (harness::GameEnded()) return fail("the game ended before the script did");
    long x = 0, y = 0;
    if (c == "frames") {
      if (line.words.size() != 2 || !ParseInt(line.words[1], &x) || x < 0) return fail("frames needs a count");
      harness::StepFrames(static_cast<int>(x));
    } else if (c == "key" || c == "keydown" || c == "keyup") {
      if (line.rest.empty()) return fail(c + " needs a key name");
      const bool ok = c == "key" ? harness::PressKey(line.rest)
                                 : c == "keydown" ? harness::KeyDown(line.rest) : harness::KeyUp(line.rest);
      if (!ok) return fail("unknown key name \"" + line.rest + "\"");
    } else if (c == "tap-key") {
      // Pressed and let go before the next frame, as a quick tap is.
      if (line.rest.empty()) return fail("tap-key needs a key name");
      if (!harness::KeyDown(line.rest) || !harness::KeyUp(line.rest))
        return fail("unknown key name \"" + line.rest + "\"");
    } else if (c == "tap") {
      if (line.words.size() != 3 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y))
        return fail("tap needs X and Y");
      harness::MoveMouse(static_cast<int>(x), static_cast<int>(y));
      harness::MouseButton(0, true);
      harness::MouseButton(0, false);
    } else if (c == "drag") {
      long tx = 0, ty = 0;
      if (line.words.size() != 5 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y) ||
          !ParseInt(line.words[3], &tx) || !ParseInt(line.words[4], &ty))
        return fail("drag needs X Y TX TY");
      harness::Drag(static_cast<int>(x), static_cast<int>(y), static_cast<int>(tx), static_cast<int>(ty));
    } else if (c == "move" || c == "click") {
      if (line.words.size() < 3 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y))
        return fail(c + " needs X and Y");
      if (c == "move") {
        if (line.words.size() != 3) return fail("move takes X and Y only");
        harness::MoveMouse(static_cast<int>(x), static_cast<int>(y));
      } else {
        int button = 0;
        if (line.words.size() == 4 && line.words[3] == "right")
          button = 1;
        else if (line.words.size() != 3)
          return fail("click takes X Y and an optional \"right\"");
        harness::Click(static_cast<int>(x), static_cast<int>(y), button);
      }
    } else if (c == "wheel") {
      if (line.words.size() != 2 || !ParseInt(line.words[1], &x)) return fail("wheel needs a count");
      harness::Wheel(static_cast<int>(x));
    } else if (c == "menu") {
      if (line.words.size() != 2 || !ParseInt(line.words[1], &x)) return fail("menu needs an item id");
      harness::ChooseMenu(static_cast<int>(x));
    } else if (c == "condition") {
      int64_t m = 0, id = 0, rounds = 0, value = 0;
      if (line.words.size() != 5 || !ParseInt(line.words[1], &m) || !ParseInt(line.words[2], &id) ||
          !ParseInt(line.words[3], &rounds) || !ParseInt(line.words[4], &value) || !IsValidCreature(static_cast<int>(m)))
        return fail("condition needs a creature, an id, rounds and a value");
      AddCondition(static_cast<int>(m), static_cast<uint32_t>(id), static_cast<int32_t>(rounds),
                   static_cast<int32_t>(value), kSourceSpell, 0);
      RecomputeCreature(static_cast<int>(m), 0);
    } else if (c == "log") {
      std::string text;
      for (size_t i = 0; i < line.rest.size(); ++i) {
        if (line.rest.compare(i, 2, "\\r") == 0) {
          text += '\r';
          ++i;
        } else if (line.rest.compare(i, 4, "\\xA3") == 0) {
          text += '\xA3';
          i += 3;
        } else {
          text += line.rest[i];
        }
      }
      LogMessage("%s", text.c_str());
    } else if (c == "expect-screen") {
      if (line.words.size() != 2) return fail("expect-screen needs a screen name");
      if (line.words[1] != LastScreenDrawn)
        return fail("the screen is " + std::string(LastScreenDrawn) + ", not " + line.words[1]);
    } else if (c == "scene") {
      if (line.words.size() != 2 || !scenes::LayOutScene(line.words[1])) return fail("unknown scene \"" + line.rest + "\"");
    } else if (c == "expect-combat") {
      if (line.words.size() != 2 || (line.words[1] != "0" && line.words[1] != "1"))
        return fail("expect-combat takes 0 or 1");
      if (std::to_string(InCombat) != line.words[1])
        return fail("a battle is " + std::string(InCombat == 1 ? "" : "not ") + "under way");
    } else if (c == "box-key") {
      if (line.rest.empty() || !harness::QueueBoxKey(line.rest)) return fail("box-key needs a known key name");
    } else if (c == "box-click") {
      if (line.words.size() != 3 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y))
        return fail("box-click needs X and Y");
      harness::QueueBoxClick(static_cast<int>(x), static_cast<int>(y));
    } else if (c == "box-close") {
      harness::QueueBoxClose();
    } else if (c == "box-says") {
      return fail("no dialogue box is open to say \"" + line.rest + "\"");
    } else if (c == "wield") {
      if (line.rest.empty()) return fail("wield needs an item name");
      const std::string fault = playverbs::Wield(line.rest);
      if (!fault.empty()) return fail(fault);
    } else if (c == "point-square" || c == "pick-up") {
      if (line.words.size() != 3 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y))
        return fail(c + " needs X and Y");
      const std::string fault = c == "pick-up" ? playverbs::PickUp(static_cast<int>(x), static_cast<int>(y))
                                               : playverbs::PointSquare(static_cast<int>(x), static_cast<int>(y));
      if (!fault.empty()) return fail(fault);
    } else if (c == "click-square" || c == "walk-to") {
      long limit = 40;
      if (line.words.size() < 3 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y) ||
          (line.words.size() == 4 && (c != "walk-to" || !ParseInt(line.words[3], &limit))) || line.words.size() > 4)
        return fail(c + " needs X and Y" + (c == "walk-to" ? " and an optional click count" : ""));
      const std::string fault = c == "click-square"
                                    ? playverbs::ClickSquare(static_cast<int>(x), static_cast<int>(y))
                                    : playverbs::WalkTo(static_cast<int>(x), static_cast<int>(y), static_cast<int>(limit));
      if (!fault.empty()) return fail(fault);
    } else if (c == "answer") {
      if (line.words.size() != 2 || !ParseInt(line.words[1], &x) || x < 1 || x > 5) return fail("answer needs 1 to 5");
      const std::string fault = playverbs::Answer(static_cast<int>(x), 600);
      if (!fault.empty()) return fail(fault);
    } else if (c == "win" || c == "fight") {
      long turns = 200;
      if (line.words.size() > 2 || (line.words.size() == 2 && !ParseInt(line.words[1], &turns)))
        return fail(c + " takes an optional turn count");
      fighting = true;
      const std::string fault =
          c == "win" ? playverbs::Win(static_cast<int>(turns)) : playverbs::Fight(static_cast<int>(turns));
      fighting = false;
      if (!fault.empty()) return fail(fault);
    } else if (c == "click-text") {
      if (line.rest.empty()) return fail("click-text needs a text");
      const std::string fault = playverbs::ClickOnText(line.rest);
      if (!fault.empty()) return fail(fault);
    } else if (c == "text" || c == "no-text") {
      if (line.rest.empty()) return fail(c + " needs a text");
      const std::string fault = playverbs::ShownText(line.rest, c == "text");
      if (!fault.empty()) return fail(fault);
    } else if (c == "journal") {
      if (line.words.size() < 2) return fail("journal needs a filter and what it shows");
      const size_t after = line.rest.find(' ');
      const std::string fault =
          playverbs::Journal(line.words[1], after == std::string::npos ? "" : line.rest.substr(after + 1));
      if (!fault.empty()) return fail(fault);
    } else if (c == "point-at") {
      if (line.rest.empty()) return fail("point-at needs a creature's name");
      const std::string fault = playverbs::PointAtFigure(line.rest);
      if (!fault.empty()) return fail(fault);
    } else if (c == "talk") {
      if (line.words.size() != 3 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y))
        return fail("talk needs X and Y");
      const std::string fault = playverbs::Talk(static_cast<int>(x), static_cast<int>(y));
      if (!fault.empty()) return fail(fault);
    } else if (c == "leave") {
      if (line.words.size() != 3 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y))
        return fail("leave needs X and Y");
      const std::string fault = playverbs::LeaveAt(static_cast<int>(x), static_cast<int>(y));
      if (!fault.empty()) return fail(fault);
    } else if (c == "travel") {
      long map = 0;
      if (line.words.size() != 4 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y) ||
          !ParseInt(line.words[3], &map))
        return fail("travel needs X, Y and a map");
      travelTo = static_cast<int>(map);
      const std::string fault =
          playverbs::Travel(static_cast<int>(x), static_cast<int>(y), static_cast<int>(map), 6);
      travelTo = -1;
      if (!fault.empty()) return fail(fault);
    } else if (c == "level-up") {
      if (line.words.size() != 2 || (line.words[1] != "all" && !ParseInt(line.words[1], &x)))
        return fail("level-up needs a party member or \"all\"");
      const std::string fault =
          line.words[1] == "all" ? playverbs::LevelUpAll() : playverbs::LevelUp(static_cast<int>(x));
      if (!fault.empty()) return fail(fault);
    } else if (c == "wait-for" || c == "expect") {
      const std::string condition = line.rest;
      const long frames = c == "wait-for" ? 3000 : 0;
      std::string fault;
      // A box that opened and was answered within the frames waited for
      // counts as the dialogue waited for.
      const int passes = harness::BoxPasses();
      auto holdsNow = [&] {
        return (condition == "dialogue" && harness::BoxPasses() != passes) || playverbs::Holds(condition, &fault);
      };
      bool holds = holdsNow();
      for (long f = 0; c == "wait-for" && !holds && fault.empty() && f < frames; ++f) {
        if (!harness::StepFrames(1)) break;
        holds = holdsNow();
      }
      if (!fault.empty()) return fail(fault);
      if (!holds) return fail("\"" + condition + "\" does not hold");
    } else if (c == "wait-text") {
      if (line.words.size() < 4 || !ParseInt(line.words[1], &x) || !ParseInt(line.words[2], &y))
        return fail("wait-text needs a column, a row and a text");
      size_t at = line.rest.find(line.words[1]) + line.words[1].size();
      at = line.rest.find(line.words[2], at) + line.words[2].size();
      at = line.rest.find(line.words[3], at);
      const std::string fault = playverbs::WaitForText(static_cast<int>(x), static_cast<int>(y), line.rest.substr(at), 3000);
      if (!fault.empty()) return fail(fault);
    } else if (c == "idle") {
      double seconds = 0;
      if (line.words.size() != 2 || (seconds = std::atof(line.words[1].c_str())) <= 0)
        return fail("idle needs a number of seconds");
      const harness::IdleCost cost = harness::LeaveAlone(seconds);
      std::printf("idle-core-share %.4f\nloop-core-share %.4f\nframes-per-second %.1f\ndraws-per-second %.1f\n",
                  cost.coreShare, cost.loopShare, cost.framesPerSecond, cost.drawsPerSecond);
      std::fflush(stdout);
    } else if (c == "resident") {
      std::ifstream status("/proc/self/status");
      long kib = 0;
      for (std::string entry; std::getline(status, entry);)
        if (entry.compare(0, 6, "VmRSS:") == 0) kib = std::atol(entry.c_str() + 6);
      std::printf("resident %ld frame %llu\n", kib, static_cast<unsigned long long>(App.FramesCalled()));
      std::fflush(stdout);
    } else if (c == "no-window-manager") {
      harness::LeaveWindowWithoutManager();
    } else if (c == "desktop-area") {
      long w = 0, h = 0;
      if (line.words.size() != 3 || !ParseInt(line.words[1], &w) || !ParseInt(line.words[2], &h) || w < 0 || h < 0)
        return fail("desktop-area needs a width and a height");
      harness::KeepWindowInTile(static_cast<int>(w), static_cast<int>(h));
    } else if (c == "expect-window-shows-picture") {
      const std::string fault = harness::WindowShowsWholePicture();
      if (!fault.empty()) return fail(fault);
    } else if (c == "keep-window-place") {
      platform::GetClientOrigin(MainWindowHandle, &keptPlaceX, &keptPlaceY);
    } else if (c == "expect-window-place") {
      int x = 0, y = 0;
      platform::GetClientOrigin(MainWindowHandle, &x, &y);
      if (x != keptPlaceX || y != keptPlaceY)
        return fail("the window's picture stands at " + std::to_string(x) + "," + std::to_string(y) + ", not at " +
                    std::to_string(keptPlaceX) + "," + std::to_string(keptPlaceY));
    } else if (c == "keep-game") {
      namespace fs = std::filesystem;
      if (line.words.size() != 2) return fail("keep-game needs a name");
      if (ownFolder.empty()) return fail("keep-game needs own-folder: the games kept are the script's own");
      const int slot = FindFreeSaveSlot();
      if (const int result = WriteSavedGame(slot); result != kSaveOk)
        return fail(std::string("the game could not be saved: ") + SavedGameMessage(result));
      // Written beside and then put in place, so that a script taking up
      // never finds half of them; the slot written goes again, and the
      // script plays on with the saved games it had.
      const fs::path fresh = harness::MakeFreshKeptGames(line.words[1]);
      const std::error_code copied = fresh.empty() ? std::error_code(errno, std::generic_category())
                                                   : harness::CopyPlayersGames(ownFolder / "SaveGame", fresh);
      if (DeleteSavedGame(slot) != kSaveOk || copied) {
        std::error_code ignored;
        if (!fresh.empty()) fs::remove_all(fresh, ignored);
        return fail("the saved games could not be kept" + (copied ? ": " + copied.message() : std::string()));
      }
      if (const std::string why = harness::PutKeptGames(fresh, line.words[1]); !why.empty())
        return fail("the saved games could not be kept as " + line.words[1] + ": " + why);
    } else if (c == "close") {
      harness::RequestClose();
    } else if (c == "shot") {
      if (line.words.size() != 2) return fail("shot needs a file name");
      if (!harness::SaveShot(line.words[1])) return fail("could not save " + line.words[1]);
    } else {
      return fail("unknown command \"" + c + "\"");
    }
    if (!boxFault.empty()) {
      std::cerr << boxFault << "\n";
      leave();
      return 1;
    }
  }
  if (harness::GameEnded() && !expectEnded) {
    std::cerr << argv[1] << ": the game ended before the script did\n";
    leave();
    return 1;
  }
  leave();
  return 0;
}
