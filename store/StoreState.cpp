#include "StoreState.h"

StoreState& TheStore()
{
    static StoreState state;
    return state;
}
