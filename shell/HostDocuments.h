#pragma once
// The documents the module sends its host; their element names are the protocol's
// (ModuleProtocol.h).
#include <QStringView>
#include <cstdint>

class CXml;

// Builds the registration document into an empty `doc`. `window` is the panel's address,
// written as a full pointer-width integer.
void BuildRegistrationDocument(CXml& doc, std::uintptr_t window);

// Builds the status-bar document with `text` into an empty `doc`.
void BuildStatusBarDocument(CXml& doc, QStringView text);
