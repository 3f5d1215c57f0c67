#include "StoreState.h"

StoreState& TheStore()
{
    static StoreState state;
    return state;
}

void TellOfChange(StoreState& store)
{
    if (store.changeHook)
        store.changeHook(store.changeHookContext);
}

void PassOnReplacement(StoreState& store)
{
    store.session->SetReplacedHandler([&store] {
        if (store.replacedHook)
            store.replacedHook(store.replacedHookContext);
    });
}
