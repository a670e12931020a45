#pragma once
// Basic types and numbers of the framework: window handles, message numbers,
// style bits, standard command ids and message-box flags.
#include <cstdint>

namespace plat {

// A window handle: a number that names a window for as long as it exists.
// Handles are never reused, so a stale handle simply finds nothing.
enum class Hwnd : std::uint32_t { Null = 0 };

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// Our own thread numbering (stable, small, never reused).
using ThreadId = std::uint32_t;

namespace msg {
inline constexpr std::uint32_t Null = 0x0000;  // wakes a loop; does nothing
inline constexpr std::uint32_t Destroy = 0x0002;
inline constexpr std::uint32_t SetText = 0x000C;
inline constexpr std::uint32_t Close = 0x0010;
inline constexpr std::uint32_t Quit = 0x0012;
inline constexpr std::uint32_t ShowWindow = 0x0018;
inline constexpr std::uint32_t SetFont = 0x0030;
inline constexpr std::uint32_t Notify = 0x004E;
inline constexpr std::uint32_t Help = 0x0053;
inline constexpr std::uint32_t ContextMenu = 0x007B;
inline constexpr std::uint32_t InitDialog = 0x0110;
inline constexpr std::uint32_t Command = 0x0111;
inline constexpr std::uint32_t Timer = 0x0113;
// The first number free for a program's own messages.
inline constexpr std::uint32_t User = 0x0400;
}  // namespace msg

// Standard command ids (buttons of dialogs and message boxes).
inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdAbort = 3;
inline constexpr int IdRetry = 4;
inline constexpr int IdIgnore = 5;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;
inline constexpr int IdClose = 8;
inline constexpr int IdHelp = 9;
inline constexpr int IdStatic = -1;

// Window style bits shared by every window.
namespace ws {
inline constexpr std::uint32_t Popup = 0x80000000u;
inline constexpr std::uint32_t Child = 0x40000000u;
inline constexpr std::uint32_t Visible = 0x10000000u;
inline constexpr std::uint32_t Disabled = 0x08000000u;
inline constexpr std::uint32_t Caption = 0x00C00000u;
inline constexpr std::uint32_t Group = 0x00020000u;
inline constexpr std::uint32_t TabStop = 0x00010000u;
}  // namespace ws

// Button styles (low bits select the kind).
namespace bs {
inline constexpr std::uint32_t PushButton = 0x0;
inline constexpr std::uint32_t DefPushButton = 0x1;
inline constexpr std::uint32_t CheckBox = 0x2;
inline constexpr std::uint32_t AutoCheckBox = 0x3;
inline constexpr std::uint32_t RadioButton = 0x4;
inline constexpr std::uint32_t ThreeState = 0x5;
inline constexpr std::uint32_t AutoThreeState = 0x6;
inline constexpr std::uint32_t GroupBox = 0x7;
inline constexpr std::uint32_t AutoRadioButton = 0x9;
inline constexpr std::uint32_t KindMask = 0xF;
}  // namespace bs

namespace es {
inline constexpr std::uint32_t MultiLine = 0x0004;
inline constexpr std::uint32_t Password = 0x0020;
inline constexpr std::uint32_t ReadOnly = 0x0800;
}  // namespace es

namespace cbs {
inline constexpr std::uint32_t DropDown = 0x0002;      // editable text and a list
inline constexpr std::uint32_t DropDownList = 0x0003;  // list only
inline constexpr std::uint32_t Sort = 0x0100;
}  // namespace cbs

namespace lbs {
inline constexpr std::uint32_t Sort = 0x0002;
inline constexpr std::uint32_t MultipleSel = 0x0008;
inline constexpr std::uint32_t ExtendedSel = 0x0800;
}  // namespace lbs

namespace lvs {
inline constexpr std::uint32_t Report = 0x0001;
inline constexpr std::uint32_t SingleSel = 0x0004;
inline constexpr std::uint32_t ShowSelAlways = 0x0008;
inline constexpr std::uint32_t CheckBoxes = 0x10000;  // an extended style on the desktop
}  // namespace lvs

// Notification codes carried in the high word of a command message.
namespace bn {
inline constexpr int Clicked = 0;
}
namespace en {
inline constexpr int Change = 0x0300;
}
namespace cbn {
inline constexpr int SelChange = 1;
inline constexpr int EditChange = 5;
inline constexpr int DropDown = 7;
}
namespace lbn {
inline constexpr int SelChange = 1;
inline constexpr int DblClk = 2;
}
// Notification codes of structured notifications (Notify message).
namespace lvn {
inline constexpr int ItemChanged = -101;
}
// Notifications any control may send: a double-click and a right-click
// (the context menu's request, after the click selected the item).
namespace nm {
inline constexpr int DblClk = -3;
inline constexpr int RClick = -5;
inline constexpr int SetFocus = -7;
}
namespace tcn {
inline constexpr int SelChange = -551;
}
namespace psn {
inline constexpr int Help = -205;
}

// Check states of buttons.
inline constexpr int Unchecked = 0;
inline constexpr int Checked = 1;
inline constexpr int Indeterminate = 2;

// Message-box flags: buttons, icon, default button.
namespace mb {
inline constexpr std::uint32_t Ok = 0x0;
inline constexpr std::uint32_t OkCancel = 0x1;
inline constexpr std::uint32_t AbortRetryIgnore = 0x2;
inline constexpr std::uint32_t YesNoCancel = 0x3;
inline constexpr std::uint32_t YesNo = 0x4;
inline constexpr std::uint32_t RetryCancel = 0x5;
inline constexpr std::uint32_t ButtonsMask = 0xF;
inline constexpr std::uint32_t IconError = 0x10;
inline constexpr std::uint32_t IconQuestion = 0x20;
inline constexpr std::uint32_t IconWarning = 0x30;
inline constexpr std::uint32_t IconInformation = 0x40;
inline constexpr std::uint32_t IconMask = 0xF0;
inline constexpr std::uint32_t DefButton1 = 0x000;
inline constexpr std::uint32_t DefButton2 = 0x100;
inline constexpr std::uint32_t DefButton3 = 0x200;
inline constexpr std::uint32_t DefButtonMask = 0xF00;
}  // namespace mb

inline constexpr WParam MakeWParam(int low, int high) {
  return static_cast<WParam>((static_cast<std::uint32_t>(high) << 16) |
                             (static_cast<std::uint32_t>(low) & 0xFFFFu));
}
inline constexpr int LowWord(WParam w) { return static_cast<int>(w & 0xFFFFu); }
inline constexpr int HighWord(WParam w) {
  return static_cast<int>(static_cast<std::int16_t>((w >> 16) & 0xFFFFu));
}

}  // namespace plat
