// The bytes the game shows in a name or a text, one test for every content
// tool: a blank (a space, or '_', which the game draws as one: a keyword's
// words are joined by it), or a character that both of the game's fonts draw
// a glyph for. The glyphs are those of the font sources under
// content/graphics/ (font_large.txt, font_small.txt), from which the sheet
// tool draws the font sheets; any other byte the game draws as an empty
// cell or as another character's glyph, and a control byte ends or breaks
// the text. A text the game lays out in lines (a description, a script's
// question or journal text) shows a carriage return as its line end.
#pragma once
#include <string>
#include <string_view>

bool GameShowsByte(unsigned char c);

// Where a text holds the first byte the game cannot show
// (std::string_view::npos for none).
size_t UnshownByte(std::string_view text, bool lineEnds);

// The one line that refuses the byte at `at` in `text`, the value of
// `field`: "'name' holds the control byte \x00: 'Arr\x00ows'" or "'name'
// holds the byte \xe9, which the game cannot show: 'Caf\xe9'". With no field
// the text is itself the word the line is read by.
std::string UnshownByteMessage(std::string_view field, std::string_view text, size_t at);

// Whether a word refused for bytes the game cannot show may be `word` as its
// source meant it: the same word with those bytes left out, or with them
// standing in for as many of its own ("wiz\xe9rd" and "wiz\xe9ard" may be
// "wizard"). A sound word is only itself. What a refused line gives (a
// sheet, a recipe, a row) counts as given by it, so that no line after it
// is refused for the want of it.
bool MayBeWord(std::string_view written, std::string_view word);

// Whether `written` is `word`, then a byte the game cannot show standing
// for the blank after it, then more ("creature\x004" may be "creature" and
// "4", "bars\x008" "bars 8"); *rest (when given) is then what follows the
// byte. A refused line counts as what its words may be, so that one damaged
// blank is one fault.
bool MayBeWordAndDamagedBlank(std::string_view written, std::string_view word, std::string_view* rest = nullptr);

// MayBeWord, or MayBeWordAndDamagedBlank: a first word that may begin a line
// as `word`.
bool MayBeginWithWord(std::string_view written, std::string_view word);

// A text as the game holds it: the pound sign written in UTF-8 (0xC2 0xA3)
// is its byte 0xA3, the highlight mark.
std::string WithGamePoundSigns(std::string_view text);

// The character a glyph name of a font source names: one byte, or "\xA3"
// (a backslash, 'x' and two hex digits) for any byte; -1 for neither.
int FontCharCode(std::string_view name);
