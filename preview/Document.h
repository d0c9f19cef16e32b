// The picture of the current capture as a document: what the capture froze
// (the composed picture, its see-through mask, the shape and the background
// colour) and the ordered list of edits made on it since. The picture the
// preview shows and every output reads is rendered from these, never edited
// in place, so undo and redo are a move of the cursor in the list followed by
// one render, as cheap as the edit itself.
//
// The geometric edits (turns, mirror, crop) fold into one View of the frozen
// picture, so any state renders in a single pass over it. A colour change
// repaints the see-through pixels; the marks are drawn next and the date
// stamp last, so the stamp is never turned with the pixels.
//
// A mark edit (and its undo and redo) renders only the area it changes again,
// grown until that area comes out as in a render of the whole picture (see
// DocumentRender.cpp); the other edits render the whole picture.
//
// Every operation either completes or leaves the document, its history and
// its render as they were.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "preview/Mark.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// The frozen picture seen through the geometric edits: the part crop (in the
// frozen picture's pixels) mirrored left to right when mirrored, then turned
// clockwise turns times.
struct View {
    RECT crop{};
    bool mirrored = false;
    int turns = 0;  // 0..3

    int Width() const noexcept;
    int Height() const noexcept;
    // Where a pixel of the viewed picture comes from in the frozen one.
    PointMap ToFrozen() const noexcept;
};

enum class EditKind { Turn, Mirror, DateStamp, BackgroundColor, Crop, AddMark, ChangeMark, RemoveMark };

// One change of the picture. Areas and marks are in the coordinates of the
// picture as it was shown when the edit was made.
struct Edit {
    EditKind kind = EditKind::Turn;
    std::wstring name;      // what "Undo ..." and "Redo ..." say
    bool clockwise = true;  // Turn
    // DateStamp: on or off. Turn, Mirror: the date-stamp setting when the
    // edit was made, which puts the stamp on when it asks.
    bool on = false;
    COLORREF color = 0;     // BackgroundColor
    RECT area{};            // Crop
    int index = -1;         // ChangeMark, RemoveMark: which mark (in drawing order)
    std::shared_ptr<const Mark> mark;  // AddMark, ChangeMark
};

// The edits the commands make, named as their menu items.
Edit TurnEdit(bool clockwise, bool stampSetting = false);
Edit MirrorEdit(bool stampSetting = false);
Edit DateStampEdit(bool on);
Edit BackgroundColorEdit(COLORREF color);
Edit CropEdit(const RECT& area);
Edit AddMarkEdit(std::shared_ptr<const Mark> mark, std::wstring name);
Edit ChangeMarkEdit(int index, std::shared_ptr<const Mark> mark, std::wstring name);
Edit RemoveMarkEdit(int index, std::wstring name);

// The document after a number of its edits.
struct DocumentState {
    View view;
    bool dateStamp = false;
    COLORREF background = 0;
    std::vector<std::shared_ptr<const Mark>> marks;  // in drawing order, picture coordinates
};

class Document {
public:
    Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Starts a new document from a fresh composition (taken over, left empty)
    // with its see-through mask (empty: all opaque), the shape it was cut with,
    // the background colour it was composed on and whether the date stamp is
    // wanted. The history is empty. When the first render fails the
    // document is left empty.
    void NewCapture(win::Bitmap& composed, win::AlphaMask mask, std::uint8_t shapeCode, COLORREF background,
                    bool dateStamp);

    // Makes edit, forgetting the edits that were undone. Throws when the edit
    // cannot be made (nothing changes then); an edit that would change nothing
    // (a crop of no area) is refused and returns false.
    bool Apply(Edit edit);
    bool CanUndo() const noexcept;
    bool CanRedo() const noexcept;
    // The name of the edit Undo takes back and of the one Redo makes again.
    std::wstring UndoName() const;
    std::wstring RedoName() const;
    void Undo();
    void Redo();

    // The picture as it stands, what the preview shows and outputs read.
    const win::Bitmap& Picture() const noexcept { return *shown_; }
    int Width() const noexcept { return shown_->Width(); }
    int Height() const noexcept { return shown_->Height(); }
    // Which pixels of Picture are see-through (empty: all opaque).
    win::AlphaMask Alpha() const;
    // A copy of area of the picture (clipped to it) in target, sized to it.
    void RenderArea(const RECT& area, win::Bitmap& target) const;

    const DocumentState& State() const noexcept { return state_; }
    bool DateStampShown() const noexcept { return stampShown_; }
    std::uint8_t ShapeCode() const noexcept { return shapeCode_; }
    const std::vector<Edit>& Edits() const noexcept { return edits_; }
    std::size_t Cursor() const noexcept { return cursor_; }

    // While an output reads the picture (a save, a print, an Office export),
    // no edit, undo or redo acts: they are refused and Can... says false.
    class Reading {
    public:
        explicit Reading(const Document& document) noexcept : document_(document) { ++document_.readers_; }
        ~Reading() { --document_.readers_; }
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

    private:
        const Document& document_;
    };
    bool BeingRead() const noexcept { return readers_ > 0; }

    // Releases the pictures and the history (at the end of the run).
    void Clear() noexcept;

    // Called after every change of the picture with the area that changed:
    // the area rendered again after a mark edit, its undo or redo; the whole
    // picture after any other edit or a new capture.
    std::function<void(const RECT& changed)> OnChange;

private:
    DocumentState StateAt(std::size_t cursor) const;
    // Renders state and moves to cursor; marked, when given, is the only area
    // where state's marks differ from the shown ones. Returns the area
    // rendered again; nothing changes on failure. The history must be whole
    // before Changed tells of it.
    RECT Show(DocumentState state, std::size_t cursor, std::optional<RECT> marked);
    // Whether state shows anything but the frozen picture itself.
    bool Drawn(const DocumentState& state) const noexcept;
    void RenderWhole(const DocumentState& state);
    // Renders the area around marked again in the current render (area gets
    // what was rendered); false, with nothing changed, when the whole must be.
    bool RenderPart(const DocumentState& state, const RECT& marked, RECT& area);
    // marked grown to whole redactions with their borders and to the whole
    // stamp; false when the marks cannot be drawn in part.
    bool AreaToRender(const DocumentState& state, const RECT& marked, RECT& area, bool& restamp) const;
    void Changed(const RECT& area);

    win::Bitmap frozen_;     // the composition, never changed
    win::AlphaMask mask_;    // its see-through part
    std::uint8_t shapeCode_ = 0;
    DocumentState initial_;  // before the first edit
    std::vector<Edit> edits_;
    std::size_t cursor_ = 0;  // edits_[0, cursor_) are made
    DocumentState state_;
    // The last render; an untouched capture shows the frozen picture itself.
    win::Bitmap render_;
    const win::Bitmap* shown_ = &render_;
    win::AlphaMask viewMask_;  // the see-through part of the shown picture
    RECT stampCell_{};
    std::wstring stampText_;  // what the stamp of the render says
    bool stampShown_ = false;
    mutable int readers_ = 0;
};
