#include "preview/EditCommands.h"

namespace {

std::wstring Caption(const wchar_t* verb, const std::wstring& edit)
{
    return edit.empty() ? verb : verb + (L" " + edit);
}

}  // namespace

void UndoActionExecute(Document& document) { document.Undo(); }

void RedoActionExecute(Document& document) { document.Redo(); }

std::wstring UndoCaption(const Document& document) { return Caption(L"Undo", document.UndoName()); }

std::wstring RedoCaption(const Document& document) { return Caption(L"Redo", document.RedoName()); }

bool CropToArea(Document& document, const RECT& area) { return document.Apply(CropEdit(area)); }
