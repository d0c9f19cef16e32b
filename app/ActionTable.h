// The program's action table: every user command, one row each, with its
// caption, its hint, whether it starts enabled and where it appears in the
// preview (toolbar slot and tab place, menu and position, picture).
//
// When you add a command, update:
//   1. its own file in its feature folder (the free function <Name>Execute);
//   2. its row below (its name is its id, the row says where it appears);
//   3. its binding line in app/CommandBindings.cpp.
//
// Ids are given in row order from 1001; the end-to-end tests send some of
// them to the preview, so add rows at the end.
#pragma once

#include <vector>

#include "preview/PreviewPlace.h"
#include "win/ActionList.h"

// Row(name, caption, hint, enabled, place...): the place is PreviewPlace's
// fields by name (a button from 0 at the left, a menu item from 0 at the top;
// no place: the command is reached elsewhere).
#define TAVRO_ACTION_ROWS(Row)                                                                                  \
    Row(MakePowerPointAction, L"PowerPoint", L"Make Powerpoint Slide", true,                                    \
        .button = 4, .tab = 3, .menu = Programs, .item = 0, .picture = IDI_POWERPOINT)                          \
    Row(SaveFileAction, L"Save", L"Save Image as File", true,                                                   \
        .button = 1, .tab = 2, .key = PreviewKey::Enter, .menu = File, .item = 0, .menuCaption = L"Save as File", \
        .picture = IDI_SAVE)                                                                                    \
    Row(MakeWordAction, L"Word", L"Make Word Document", true,                                                   \
        .button = 5, .tab = 4, .menu = Programs, .item = 1, .picture = IDI_WORD)                                \
    Row(MakeExcelAction, L"Excel", L"Make Excel Spreadsheet", true,                                             \
        .button = 6, .tab = 5, .menu = Programs, .item = 2, .picture = IDI_EXCEL)                               \
    Row(CopyToClipboardAction, L"Copy", L"Copy Image to Clipboard", true,                                       \
        .button = 2, .tab = 1, .key = PreviewKey::Escape, .menu = Edit, .item = 5,                              \
        .menuCaption = L"Copy to Clipboard", .picture = IDI_COPY)                                               \
    Row(PrintAction, L"Print", L"Print Image", true,                                                            \
        .button = 9, .tab = 9, .menu = File, .item = 1, .menuCaption = L"Print Image", .picture = IDI_PRINT)    \
    Row(MailAction, L"Mail", L"Mail as Attachment", true,                                                       \
        .button = 8, .tab = 8, .menu = File, .item = 2, .menuCaption = L"Mail as Attachment", .picture = IDI_MAIL) \
    Row(RunSelectedEditorAction, L"Program", L"Open Image in Program", true,                                    \
        .button = 7, .tab = 6, .picture = IDI_PROGRAM)                                                          \
    Row(SetImageEditorAction, L"Set", L"Set Image Program", true)                                               \
    Row(RunUserProgramOnlyAction, L"User Program", L"Open Image in User Program", true,                         \
        .menu = Programs, .item = 3, .menuCaption = L"User Program", .picture = IDI_PROGRAM)                    \
    Row(RunDefaultProgramOnlyAction, L"Default Program", L"Open Image in Default Program", true,                \
        .menu = Programs, .item = 4, .picture = IDI_PROGRAM)                                                    \
    Row(RunMSPaintOnlyAction, L"Microsoft Paint", L"Open Image in Microsoft Paint", true,                       \
        .menu = Programs, .item = 5, .picture = IDI_PROGRAM)                                                    \
    Row(SettingsAction, L"Settings", L"Settings", true, .menu = Set, .item = 0, .picture = IDI_SETTINGS)        \
    Row(ShowHelpAction, L"Help", L"Help", true, .menu = Help, .item = 0, .picture = IDI_HELP)                   \
    /* The caption of ShowAboutAction names the About window. */                                                \
    Row(ShowAboutAction, L"About Tavro Screen Capture", L"About This Program", true,                            \
        .menu = Help, .item = 1, .picture = IDI_ABOUT)                                                          \
    Row(ClockwiseAction, L"Rotate", L"Rotate Clockwise", true,                                                  \
        .button = 3, .tab = 7, .menu = Edit, .item = 7, .menuCaption = L"Rotate Clockwise", .picture = IDI_ROTATE) \
    Row(CounterClockwiseAction, L"Rotate Counterclockwise", L"Rotate CounterClockwise", true,                   \
        .menu = Edit, .item = 8, .menuCaption = L"Rotate CounterClockwise", .picture = IDI_ROTATE_CCW)          \
    Row(MirrorAction, L"Mirror", L"Mirror Image", true,                                                         \
        .menu = Edit, .item = 9, .menuCaption = L"Mirror Image", .picture = IDI_MIRROR)                         \
    Row(BackgroundColorDialogAction, L"Background Color", L"Set Background Color", true,                        \
        .menu = Set, .item = 1, .picture = kSwatchPicture)                                                      \
    Row(BackgroundColorPickOnScreenAction, L"Pick Color on Screen", L"Pick Background Color on Screen", true,   \
        .menu = Set, .item = 2, .picture = IDI_PICKCOLOR)                                                       \
    Row(DateStampBMPAction, L"Date Stamp Image", L"Put Date on Image", true,                                     \
        .menu = Edit, .item = 12, .picture = IDI_DATESTAMP)                                                      \
    Row(UnDateStampBMPAction, L"Remove Date Stamp", L"Remove Date From Image", false,                           \
        .menu = Edit, .item = 13, .picture = IDI_UNDATESTAMP)                                                   \
    /* Undo and Redo start disabled and take the name of their edit as their caption. */                      \
    Row(UndoAction, L"Undo", L"Undo the Last Change", false, .key = PreviewKey::Undo, .menu = Edit, .item = 0)  \
    Row(RedoAction, L"Redo", L"Redo the Change Undone", false, .key = PreviewKey::Redo, .menu = Edit, .item = 1) \
    Row(CropAction, L"Crop", L"Cut the Image to an Area", true, .key = PreviewKey::Crop, .menu = Edit, .item = 10)

// The command ids, one a row, in row order.
enum ActionId : int {
    kBeforeFirstAction = 1000,
#define TAVRO_ACTION_ID(name, ...) name,
    TAVRO_ACTION_ROWS(TAVRO_ACTION_ID)
#undef TAVRO_ACTION_ID
    kAfterLastAction,
    kFirstAction = kBeforeFirstAction + 1,
    kLastAction = kAfterLastAction - 1,
};

// The rows as the action list holds them, in row order, without commands.
std::vector<win::TAction> ActionTableRows();
// Every row as the preview shows it (a row without a place shows nowhere).
std::vector<PreviewCommand> PreviewCommands();
