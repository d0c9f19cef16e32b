#include "output/ExcelExport.h"

#include "output/CopyToClipboard.h"
#include "output/OfficeCalls.h"
#include "win/Error.h"

namespace {

// The one-cell range at address, named by its first and last cell.
win::ComPtr<IDispatch> Cell(IDispatch* sheet, const wchar_t* address)
{
    const win::Variant first = win::Variant::Text(address);
    const win::Variant last = win::Variant::Text(address);
    return office::GetObject(sheet, L"Range", {&first, &last});
}

void Forget(OfficeReferences& links)
{
    links.WorkbookName.clear();
    links.ExcelSheet.reset();
    links.ExcelWorkbook.reset();
    links.ExcelApp.reset();
}

}  // namespace

void MakeExcelActionExecute(const win::Bitmap& picture, OfficeLinks& kept, const OfficeCaptions& captions)
{
    RunOfficeExport(kept, picture, [captions](OfficeExportJob& job) {
        OfficeReferences& links = job.links;
        // The last export's sheet is replaced by this one's (or emptied).
        links.ExcelSheet.reset();
        OfficeDocumentKind kind{L"Excel.Application", L"Workbooks", L"Add"};
        kind.lookupFlags = DISPATCH_PROPERTYGET;
        if (AttachOfficeDocument(kind, win::Variant::Text(links.WorkbookName), links.ExcelApp, links.ExcelWorkbook,
                                 &links.WorkbookName) == AttachOutcome::Failed) {
            Forget(links);
            return;
        }
        const win::ComPtr<IDispatch> app = links.ExcelApp;
        const win::ComPtr<IDispatch> keptWorkbook = links.ExcelWorkbook;
        IDispatch* workbook = keptWorkbook.get();

        // No new sheet: as silent as an Excel that cannot be reached.
        win::CallResult sheets = win::GetProperty(workbook, L"Sheets");
        win::CallResult added;
        if (win::ComPtr<IDispatch> collection = win::ResultObject(sheets)) {
            added = win::CallMethod(collection.get(), L"Add");
            links.ExcelSheet = win::ResultObject(added);
        }
        if (!links.ExcelSheet) {
            Forget(links);
            return;
        }
        const win::ComPtr<IDispatch> keptSheet = links.ExcelSheet;
        IDispatch* sheet = keptSheet.get();

        links.WorkbookName = office::GetText(workbook, L"Name");

        if (captions.putName) office::Put(Cell(sheet, L"A2").get(), L"Value", win::Variant::Text(captions.userName));
        // The apostrophe keeps Excel from turning the text into a date value.
        if (captions.putDate) office::Put(Cell(sheet, L"A3").get(), L"Value", win::Variant::Text(L"'" + captions.dateText));
        office::Call(Cell(sheet, L"B5").get(), L"Select");

        CopyToClipboardActionExecute(job.picture, job.clipboardOwner);
        office::Call(sheet, L"Paste");
        office::Call(workbook, L"Activate");
        office::Put(sheet, L"Visible", win::Variant::Bool(true));
        office::Put(app.get(), L"DisplayFullScreen", win::Variant::Bool(true));
        office::Put(app.get(), L"DisplayFullScreen", win::Variant::Bool(false));

        win::PutProperty(app.get(), L"Visible", win::Variant::Bool(true));  // failure ignored
    });
}
