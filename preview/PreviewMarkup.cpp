// The preview's markup strip: the tools, the colour button and the three
// widths at the left of the picture, and the Markup menu that lists the same.
#include "preview/PreviewWindow.h"

#include <commdlg.h>

#include <algorithm>
#include <iterator>

#include "win/Gdi.h"

namespace {

constexpr int kStripWidth = kMarkupStripWidth;
constexpr int kRow = 22;
constexpr int kSwatchSize = 14;

struct PresetColor {
    const wchar_t* name;
    COLORREF color;
};
constexpr PresetColor kPresets[] = {
    {L"Red", RGB(255, 0, 0)},   {L"Orange", RGB(255, 128, 0)}, {L"Yellow", RGB(255, 230, 0)},
    {L"Green", RGB(0, 170, 0)}, {L"Blue", RGB(0, 90, 255)},    {L"Purple", RGB(150, 0, 200)},
    {L"Black", RGB(0, 0, 0)},   {L"White", RGB(255, 255, 255)},
};
constexpr wchar_t kWidthLabels[3][8] = {L"Thin", L"Medium", L"Thick"};
constexpr int kMoreColors = 100;

win::UniqueBitmap Swatch(COLORREF color, int size)
{
    win::WindowDC screen(nullptr);
    win::UniqueMemoryDC dc(::CreateCompatibleDC(screen.get()));
    win::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), size, size));
    if (!dc || !bitmap) return bitmap;
    win::SelectGuard select(dc.get(), bitmap.get());
    win::UniqueBrush fill(::CreateSolidBrush(color));
    RECT all{0, 0, size, size};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::InflateRect(&all, -1, -1);
    ::FillRect(dc.get(), &all, fill.get());
    return bitmap;
}

}  // namespace

int TPreviewForm::MarkupStripWidth() const { return Scale(kStripWidth); }

void TPreviewForm::CreateMarkupStrip()
{
    markupStrip_ = AddControl(L"TavroPanel", L"", WS_CLIPCHILDREN, 0, 70, kStripWidth, 340, MarkupStrip,
                              WS_EX_CONTROLPARENT);
    const auto& tools = MarkupTools();
    for (std::size_t i = 0; i < tools.size(); ++i)
        AddControl(L"BUTTON", tools[i].label, BS_AUTORADIOBUTTON | BS_PUSHLIKE | (i == 0 ? WS_GROUP : 0), 4,
                   4 + kRow * static_cast<int>(i), kStripWidth - 8, kRow - 1, kMarkupToolId + static_cast<int>(i), 0,
                   markupStrip_);
    const int colorTop = 8 + kRow * static_cast<int>(tools.size());
    AddControl(L"BUTTON", L"", BS_PUSHBUTTON | BS_BITMAP | WS_GROUP, 4, colorTop, kStripWidth - 8, kRow,
               kMarkupColorId, 0, markupStrip_);
    for (int level = 0; level < 3; ++level)
        AddControl(L"BUTTON", kWidthLabels[level], BS_AUTORADIOBUTTON | BS_PUSHLIKE | (level == 0 ? WS_GROUP : 0),
                   4, colorTop + kRow + 6 + kRow * level, kStripWidth - 8, kRow - 1, kMarkupWidthId + level, 0,
                   markupStrip_);
    ::CheckDlgButton(markupStrip_, kMarkupWidthId + markup_.Style().widthLevel, BST_CHECKED);
    markup_.SetDpi(Dpi());
    markup_.Repaint = [this] { picture_.Repaint(); };
    markup_.RepaintArea = [this](const RECT& area) { picture_.Repaint(area); };
    markup_.ToolChanged = [this](MarkupTool tool) { MarkupToolChanged(tool); };
    PaintColorSwatch();
    MarkupToolChanged(MarkupTool::None);
}

void TPreviewForm::PaintColorSwatch()
{
    colorSwatch_ = Swatch(markup_.Style().color, Scale(kSwatchSize));
    ::SendDlgItemMessageW(markupStrip_, kMarkupColorId, BM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(colorSwatch_.get()));
}

void TPreviewForm::MarkupToolChanged(MarkupTool tool)
{
    const auto& tools = MarkupTools();
    HMENU menu = ::GetSubMenu(menus_.Bar(), static_cast<int>(PreviewMenu::Markup));
    for (std::size_t i = 0; i < tools.size(); ++i) {
        const bool on = tools[i].tool == tool;
        ::CheckDlgButton(markupStrip_, kMarkupToolId + static_cast<int>(i), on ? BST_CHECKED : BST_UNCHECKED);
        ::CheckMenuItem(menu, kMarkupToolId + static_cast<int>(i), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    }
    const bool pixelate = markup_.Style().redact == markup::RedactMode::Pixelate;
    ::CheckMenuRadioItem(menu, kMarkupPixelateId, kMarkupFillId, pixelate ? kMarkupPixelateId : kMarkupFillId,
                         MF_BYCOMMAND);
    std::wstring hint;
    for (const MarkupToolInfo& t : tools)
        if (t.tool == tool) hint = t.hint;
    if (tool == MarkupTool::Step) hint += L" (next: " + std::to_wstring(markup_.Style().nextStep) + L")";
    SetHintPanel(hint);
}

bool TPreviewForm::MarkupCommand(int id)
{
    const int tools = static_cast<int>(MarkupTools().size());
    if (id >= kMarkupToolId && id < kMarkupToolId + tools) {
        UseTool(nullptr);
        markup_.Choose(MarkupTools()[id - kMarkupToolId].tool);
    } else if (id == kMarkupColorId) {
        PickMarkColor();
    } else if (id >= kMarkupWidthId && id < kMarkupWidthId + 3) {
        markup_.SetWidthLevel(id - kMarkupWidthId);
    } else if (id == kMarkupPixelateId || id == kMarkupFillId) {
        markup_.SetRedactMode(id == kMarkupFillId ? markup::RedactMode::Fill : markup::RedactMode::Pixelate);
        MarkupToolChanged(markup_.Current());
    } else {
        return false;
    }
    HideFocus();
    return true;
}

void TPreviewForm::PickMarkColor()
{
    win::UniqueMenu menu(::CreatePopupMenu());
    std::vector<win::UniqueBitmap> swatches;
    for (std::size_t i = 0; i < std::size(kPresets); ++i) {
        swatches.push_back(Swatch(kPresets[i].color, Scale(kSwatchSize)));
        ::AppendMenuW(menu.get(), MF_STRING, i + 1, kPresets[i].name);
        MENUITEMINFOW info{sizeof(info), MIIM_BITMAP};
        info.hbmpItem = swatches.back().get();
        ::SetMenuItemInfoW(menu.get(), static_cast<UINT>(i + 1), FALSE, &info);
    }
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_STRING, kMoreColors, L"More Colors...");
    RECT button;
    ::GetWindowRect(::GetDlgItem(markupStrip_, kMarkupColorId), &button);
    const int chosen = static_cast<int>(::TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                           button.right, button.top, Hwnd(), nullptr));
    COLORREF color = markup_.Style().color;
    if (chosen >= 1 && chosen <= static_cast<int>(std::size(kPresets))) {
        color = kPresets[chosen - 1].color;
    } else if (chosen == kMoreColors) {
        CHOOSECOLORW dialog{sizeof(dialog)};
        dialog.hwndOwner = Hwnd();
        dialog.rgbResult = color;
        dialog.lpCustColors = customColors_;
        dialog.Flags = CC_RGBINIT | CC_ANYCOLOR;
        if (!::ChooseColorW(&dialog)) return;
        color = dialog.rgbResult;
    } else {
        return;
    }
    markup_.SetColor(color);
    PaintColorSwatch();
}
