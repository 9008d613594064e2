#pragma once
// The response messages every owner starts with, and the repair of the rules' message pointers, so
// that the auto-responder page always has texts to show and every rule points into the list.

#include "settings/Settings5.h"

#include <QStringList>

namespace ResponseDefaults {
// The seven default texts, in list order.
QStringList Messages();
// When the owner's list is empty: the seven texts, and each of the six rules pointed at its text.
// Then any pointer that is -1 or beyond the list is set to 0. Throws when a value cannot be written.
void Prepare(const TXMLAutoRespondType &autoRespond);
} // namespace ResponseDefaults
