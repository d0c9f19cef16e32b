#include "output/PowerPointExport.h"

#include "output/CopyToClipboard.h"
#include "output/OfficeCalls.h"
#include "win/Error.h"

namespace {

constexpr long kFirstPosition = 1;
constexpr long kBlankLayout = 12;
constexpr long kHorizontalText = 1;
constexpr long kCaptionTop = 510;
constexpr long kCaptionHeight = 15;
constexpr long kNameLeft = 30;
constexpr long kNameWidth = 400;
constexpr long kDateLeft = 560;
constexpr long kDateWidth = 150;
constexpr long kCaptionFontSize = 14;

// Shrinks the pasted picture when it is too large for the slide.
void FitPicture(IDispatch* shapes)
{
    const win::Variant first = win::Variant::Int(1);
    win::ComPtr<IDispatch> picture = office::CallForObject(shapes, L"Item", {&first});
    const double height = office::GetNumber(picture.get(), L"Height");
    office::SlideFit fit = office::SlideFit::LimitHeight;
    if (height < office::kSlideMaxHeight) fit = office::FitOnSlide(height, office::GetNumber(picture.get(), L"Width"));
    if (fit == office::SlideFit::KeepAsPasted) return;
    if (fit == office::SlideFit::LimitHeight) office::Put(picture.get(), L"Height", win::Variant::Int(office::kSlideMaxHeight));
    else office::Put(picture.get(), L"Width", win::Variant::Int(office::kSlideMaxWidth));
    office::Put(picture.get(), L"Top", win::Variant::Int(office::kSlidePictureTop));
    office::Put(picture.get(), L"Left", win::Variant::Int(office::kSlidePictureLeft));
}

// A text box under the picture holding text at the caption size.
void AddCaption(IDispatch* shapes, long left, long width, const std::wstring& text)
{
    const win::Variant orientation = win::Variant::Int(kHorizontalText);
    const win::Variant boxLeft = win::Variant::Int(left);
    const win::Variant top = win::Variant::Int(kCaptionTop);
    const win::Variant boxWidth = win::Variant::Int(width);
    const win::Variant height = win::Variant::Int(kCaptionHeight);
    win::ComPtr<IDispatch> box =
        office::CallForObject(shapes, L"AddTextbox", {&orientation, &boxLeft, &top, &boxWidth, &height});
    const win::Variant boxName = office::Get(box.get(), L"Name");
    box.reset();

    auto textRange = [&] {
        win::ComPtr<IDispatch> shape = office::CallForObject(shapes, L"Item", {&boxName});
        win::ComPtr<IDispatch> frame = office::GetObject(shape.get(), L"TextFrame");
        return office::GetObject(frame.get(), L"TextRange");
    };
    office::Put(textRange().get(), L"Text", win::Variant::Text(text));
    win::ComPtr<IDispatch> font = office::GetObject(textRange().get(), L"Font");
    office::Put(font.get(), L"Size", win::Variant::Int(kCaptionFontSize));
}

}  // namespace

void MakePowerPointActionExecute(const win::Bitmap& picture, OfficeLinks& kept, const OfficeCaptions& captions)
{
    RunOfficeExport(kept, picture, [captions](OfficeExportJob& job) {
        OfficeReferences& links = job.links;
        const OfficeDocumentKind kind{L"PowerPoint.Application", L"Presentations", L"Add"};
        if (AttachOfficeDocument(kind, win::Variant::Text(links.PresentationName), links.PowerPointApp,
                                 links.PowerPointPresentation, &links.PresentationName) == AttachOutcome::Failed)
            return;
        const win::ComPtr<IDispatch> app = links.PowerPointApp;
        const win::ComPtr<IDispatch> keptPresentation = links.PowerPointPresentation;
        IDispatch* presentation = keptPresentation.get();

        links.PresentationName = office::GetText(presentation, L"Name");

        const win::Variant position = win::Variant::Int(kFirstPosition);
        const win::Variant layout = win::Variant::Int(kBlankLayout);
        win::ComPtr<IDispatch> slide =
            office::CallForObject(office::GetObject(presentation, L"Slides").get(), L"Add", {&position, &layout});

        CopyToClipboardActionExecute(job.picture, job.clipboardOwner);
        win::ComPtr<IDispatch> shapes = office::GetObject(slide.get(), L"Shapes");
        office::Call(shapes.get(), L"Paste");

        win::PutProperty(app.get(), L"Visible", win::Variant::Bool(true));  // failure ignored

        const win::Variant first = win::Variant::Int(1);
        office::Call(office::CallForObject(office::GetObject(presentation, L"Slides").get(), L"Item", {&first}).get(),
                     L"Select");

        FitPicture(shapes.get());
        if (captions.putName) AddCaption(shapes.get(), kNameLeft, kNameWidth, captions.userName);
        if (captions.putDate) AddCaption(shapes.get(), kDateLeft, kDateWidth, captions.dateText);
    });
}
