// What the relationship windows share: the coefficients computed when a
// window first needs them, under the busy cursor, and the message about loop
// links once a load.
#pragma once

#include <QString>
#include <functional>

class QSettings;
class TAvlsdata;
class TInnavl;

// The coefficients of `avl`, computed now when they are not yet. After the
// first computation of a load, a pedigree with loop links gives its message
// through `melding` and as a line on stderr. Null without avl data.
const TInnavl* HentInnavl(TAvlsdata* avl, const std::function<void(const QString&)>& melding);
