#include "app/ActionTable.h"

#include "resources/resource.h"

// The rows themselves stand in ActionTable.h, with the note on adding one.

std::vector<win::TAction> ActionTableRows()
{
#define TAVRO_ACTION(name, caption, hint, enabled, ...) {name, L"" #name, caption, hint, enabled, {}},
    return {TAVRO_ACTION_ROWS(TAVRO_ACTION)};
#undef TAVRO_ACTION
}

std::vector<PreviewCommand> PreviewCommands()
{
    using enum PreviewMenu;
#define TAVRO_ACTION(name, caption, hint, enabled, ...) {name, caption, hint, PreviewPlace{__VA_ARGS__}},
    return {TAVRO_ACTION_ROWS(TAVRO_ACTION)};
#undef TAVRO_ACTION
}
