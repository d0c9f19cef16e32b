#include "output/OfficeCalls.h"

#include "win/Error.h"

namespace office {

namespace {

void ThrowIfFailed(const win::CallResult& result)
{
    if (!result.Ok()) throw win::Error(result.errorText);
}

win::ComPtr<IDispatch> ObjectOf(win::CallResult result)
{
    win::ComPtr<IDispatch> object = win::ResultObject(result);
    ThrowIfFailed(result);
    return object;
}

}  // namespace

win::ComPtr<IDispatch> GetObject(IDispatch* object, std::wstring_view name,
                                 std::initializer_list<const win::Variant*> args)
{
    return ObjectOf(win::GetProperty(object, name, args));
}

win::ComPtr<IDispatch> CallForObject(IDispatch* object, std::wstring_view name,
                                     std::initializer_list<const win::Variant*> args)
{
    return ObjectOf(win::CallMethod(object, name, args));
}

win::Variant Get(IDispatch* object, std::wstring_view name)
{
    win::CallResult result = win::GetProperty(object, name);
    ThrowIfFailed(result);
    return std::move(result.value);
}

void Put(IDispatch* object, std::wstring_view name, const win::Variant& value,
         std::initializer_list<const win::Variant*> args)
{
    ThrowIfFailed(win::PutProperty(object, name, value, args));
}

void Call(IDispatch* object, std::wstring_view name, std::initializer_list<const win::Variant*> args)
{
    ThrowIfFailed(win::CallMethod(object, name, args));
}

SlideFit FitOnSlide(double height, double width)
{
    if (height >= kSlideMaxHeight) return SlideFit::LimitHeight;
    if (width >= kSlideMaxWidth) return SlideFit::LimitWidth;
    return SlideFit::KeepAsPasted;
}

std::wstring GetText(IDispatch* object, std::wstring_view name)
{
    std::wstring text;
    if (!Get(object, name).ToText(text)) throw win::Error(win::AutomationErrorText(DISP_E_TYPEMISMATCH, nullptr));
    return text;
}

double GetNumber(IDispatch* object, std::wstring_view name)
{
    double value = 0;
    if (!Get(object, name).ToDouble(value)) throw win::Error(win::AutomationErrorText(DISP_E_TYPEMISMATCH, nullptr));
    return value;
}

}  // namespace office
