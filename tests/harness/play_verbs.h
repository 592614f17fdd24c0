// Verbs of the play scripts that play a whole adventure: they look at the
// game as a player looks at the screen (where a square or a creature shows,
// whose turn it is, which screen is up) and act only through the mouse and
// the keys, as a player would.
#pragma once
#include <string>

namespace playverbs {

// The picture point (logical 320x240) of the middle of square (x, y) of the
// current map; false when it lies outside the map view.
bool SquarePoint(int x, int y, int* px, int* py);

// Points at the square (the view scrolled by the arrow keys until it shows
// it clear of the panels). "" or the fault.
std::string PointSquare(int x, int y);

// Points at a square where objects lie and, in the list of them that opens,
// at the object (or at "All these items") and presses Space: the party picks
// it up. "" or the fault.
std::string PickUp(int x, int y);

// Opens the inventory of the party member who carries the item named (keys
// 5 to 8), drags it from the backpack into the right hand and closes the
// page again. "" or the fault.
std::string Wield(const std::string& name);

// Points at the middle of the figure of the creature named, where the
// window shows it (as a player points at what is shown, not where the game
// reads the map or the pointer). "" or the fault.
std::string PointAtFigure(const std::string& name);

// Points at the square and clicks it with the left button. "" or the fault.
std::string ClickSquare(int x, int y);

// Walks the party's selected member to square (x, y) of the current map the
// way a player does: clicks the seen, open square in view that lies nearest
// the goal along the open ground, waits until the member stands still, and
// again, until it stands on the goal (next to it when the goal is a wall or
// holds objects or a creature). Stops early, with "",
// when a dialogue box opens, a battle starts or the map changes. At most
// `clicks` clicks.
std::string WalkTo(int x, int y, int clicks);

// Chooses answer n of the next dialogue box with its number key: the key is
// queued for the box, whose loop runs inside a frame, and frames run (at
// most `frames`) until a box has taken it.
std::string Answer(int n, int frames);

// Plays a battle to its end: on each party member's turn it points at the
// nearest enemy and clicks it (an attack, or a move and an attack), and
// ends what is left of the turn with Space; the computer plays the enemies.
// At most `turns` turns of the party.
std::string Fight(int turns);

// Points at `text` where the next frame draws it and clicks it. "" or the
// fault.
std::string ClickOnText(const std::string& text);
// Empty when the next frame draws the text (shown) or draws it nowhere
// (not shown); else the fault.
std::string ShownText(const std::string& text, bool shown);

// Talks to the creature standing on square (x, y): points at it, steps the
// weapon mode with right clicks to talking and clicks it. "" or the fault.
std::string Talk(int x, int y);

// Walks to the edge square (x, y) and steps off the map onto the world map
// (a click on the square when standing on it does not lead out already).
// "" or the fault.
std::string LeaveAt(int x, int y);

// Travels on the world map to the place drawn at picture point (px, py),
// whose map is `map`: clicks it and waits for the party to arrive. A group
// met on the way is fought (the first answer of its box, the battle played as
// Fight plays it, the victory screen clicked away); then the party walks off
// the battlefield's nearest edge onto the world map and the place is clicked
// again. At most `meetings` groups. "" or the fault.
std::string Travel(int px, int py, int map, int meetings);

// Raises party member `member` one level as a player does: clicks the star
// beside its name in the party list, on the level-up page raises Strength
// when the level brings an ability increase, picks the first feat listed for
// each new feat (and the first spell for each new spell), and accepts.
// "" or the fault.
std::string LevelUp(int member);
// Raises every member of the party, one level after the other, as long as a
// star shows beside its name. "" or the fault.
std::string LevelUpAll();

// Wins the battle under way or about to start: waits for it, plays it as
// Fight does and clicks the victory screen away. "" or the fault.
std::string Win(int turns);

// Opens the quest journal with J while exploring, chooses the filter
// ("Pending", "Completed" or "All") and reads it as the player does, scrolled
// on entry by entry (Down) where a text lies further down: `expected` lists,
// in the order shown, texts that begin rows of entries, separated by " / ":
// "> " before a text for a follow-up (indented under its entry), " (done)"
// after it for a completed entry (drawn in the completed colour), "!" before
// it for a text shown nowhere. Escape leaves the journal. "" or the fault.
std::string Journal(const std::string& filter, const std::string& expected);

// Runs frames (at least one, at most `frames`) until one draws `text` in the
// large cells from (column, row) on. "" or the fault, naming what the row
// showed last.
std::string WaitForText(int column, int row, const std::string& text, int frames);

// From now on each answered box of the game (a question or the encounter
// choice) adds a line to the file: the current map, the question, the five
// answers and the number of the one chosen, tab-separated, with a tab, a
// backslash and every byte outside printable ASCII written as \xNN
// (scripts/unchosen-answers reads them).
void RecordAnswersTo(const std::string& path);

// Whether the condition named holds: "combat" (a battle is under way),
// "dialogue" (a box is open), "exploring", "victory", "defeat",
// "end-of-adventure" (their screens are up), "standing N" (at least N members
// of the party stand), "map N", "flag N V", "windowed N", "hint TEXT" (the
// text the last frame drew beside the cursor), "logged N TEXT" (the message
// log holds the text N times), "objects X Y N" (the square holds N
// things on its object levels), "present ID V" (creature ID's presence is
// V), "stands ID X Y" (creature ID stands on square (X, Y) of the map shown). Told at once with what differs, so for "expect" only: "fighters
// ID:SIDE..." (besides the party, the battle's order holds exactly these
// creatures, each on its side: enemy, ally or talker; "none" nobody),
// "fought ID:SIDE..." (the same for every creature that stood in the order
// of the battle Fight played last), "blows-on ID BY..." (in that battle
// every blow at ID came from one of BY, and some came; "none": none came).
bool Holds(const std::string& condition, std::string* fault);

}  // namespace playverbs
