#pragma once

// Symbols of the record store library are hidden unless marked with this.
#define MEMOSTORE_API __attribute__((visibility("default")))
