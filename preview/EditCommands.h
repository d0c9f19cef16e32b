// Undo, Redo and Crop. Undo and Redo move along the document's edits; their
// menu captions name the edit they act on ("Undo Rotate Clockwise").
#pragma once

#include <string>

#include "preview/Document.h"

void UndoActionExecute(Document& document);
void RedoActionExecute(Document& document);
// The captions of the two commands as the document stands.
std::wstring UndoCaption(const Document& document);
std::wstring RedoCaption(const Document& document);

// Cuts the picture to area (in its pixels, clipped to it); false when the
// area has no width or height left, and nothing changes then.
bool CropToArea(Document& document, const RECT& area);
