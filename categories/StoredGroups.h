#pragma once

#include <MemoGroupRecord.h>

#include <vector>

// Every stored category, read by order 1 to the store's count: the store's order.
std::vector<MemoGroupRecord> ReadStoredGroups();
