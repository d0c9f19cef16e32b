// Member calls of the Office exports: a failure after the attach ends the
// command with the text the application gave (win::Error).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "win/Automation.h"

namespace office {

// How long each call to an application that refuses calls as busy (a modal
// dialog open in it) is retried before its refusal is reported.
constexpr DWORD kBusyRetryLimitMs = 10000;

// object.name(args) read as a property; the object it gives.
win::ComPtr<IDispatch> GetObject(IDispatch* object, std::wstring_view name,
                                 std::initializer_list<const win::Variant*> args = {});
// object.name(args) called as a method; the object it gives.
win::ComPtr<IDispatch> CallForObject(IDispatch* object, std::wstring_view name,
                                     std::initializer_list<const win::Variant*> args = {});
// object.name read as a property: its value.
win::Variant Get(IDispatch* object, std::wstring_view name);
// object.name read as a property that must be a text or a number; a value of
// another type is the automation type-mismatch error.
std::wstring GetText(IDispatch* object, std::wstring_view name);
double GetNumber(IDispatch* object, std::wstring_view name);
// object.name(args) := value.
void Put(IDispatch* object, std::wstring_view name, const win::Variant& value,
         std::initializer_list<const win::Variant*> args = {});
// object.name(args) called as a method, its result unused.
void Call(IDispatch* object, std::wstring_view name, std::initializer_list<const win::Variant*> args = {});

// What the picture pasted on a slide needs so that it fits the slide: its
// height limited first, else its width, else nothing.
enum class SlideFit { KeepAsPasted, LimitHeight, LimitWidth };
SlideFit FitOnSlide(double height, double width);
constexpr long kSlideMaxHeight = 480;
constexpr long kSlideMaxWidth = 640;
constexpr long kSlidePictureTop = 20;
constexpr long kSlidePictureLeft = 40;

}  // namespace office
