#pragma once

#include <QString>
#include <atomic>
#include <cstdint>

// Values that the whole game shares: written by the main window and the game window between
// games (on the GUI thread, before a play thread starts), read by the pieces and the play thread.
namespace game {

// Bold, italic, underline and strike-out, as a set.
enum FontStyleFlag : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using FontStyleSet = uint8_t;

extern int32_t CellSize;       // font size in points; pixel pitch and height of a cell
extern int32_t Rows;           // city rows
extern int32_t Columns;        // playfield columns
extern int32_t PlayfieldColor; // 0x00BBGGRR
extern int32_t FontColor;
extern FontStyleSet FontStyle;
extern FontStyleSet TypedFontStyle;
extern QString FontName;
extern bool FunSpeed;
extern int32_t NewWordSpeed;
extern int32_t NewWordSpeedBy;
extern int32_t DropSpeed;
extern int32_t DropSpeedBy;

constexpr int32_t TypedColor = 0x0000FF;  // red
constexpr int32_t CityColor = 0x008080;   // olive
constexpr int32_t BulletColor = 0x0000FF; // red, drawn xor 0xAAAAAA

// The chance in percent that group g (1-based) supplies the next word when its turn comes.
// Groups past the table's 60 get the table's last value.
int GroupChance(int g);

// The group cursor of the word supply; it carries over from one game to the next. Only one play
// thread at a time touches it: a replaced game's thread has ended before the next one starts.
extern int CurrentGroup;

// Brings every value back to its state at program start (tests).
void resetSettings();

} // namespace game
