#include "StoreState.h"

StoreState& TheStore()
{
    static StoreState state;
    return state;
}

void PassOnReplacement(StoreState& store)
{
    store.session->SetReplacedHandler([&store] {
        if (store.replacedHook)
            store.replacedHook(store.replacedHookContext);
    });
}
