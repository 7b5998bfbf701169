// What the relationship windows share: the coefficients computed when a
// window first needs them, under the busy cursor, and the message about loop
// links once a load.
#pragma once

#include <QString>
#include <functional>

class QSettings;
class TAvlsdata;
class TInnavl;
class TIntEdit;

// The coefficients of `avl`, computed now when they are not yet. After the
// first computation of a load, a pedigree with loop links gives its message
// through `melding` and as a line on stderr. Null without avl data.
const TInnavl* HentInnavl(TAvlsdata* avl, const std::function<void(const QString&)>& melding);

// A field for a judging number that may be unknown (a ewe's sire or dam's
// sire): empty stays empty, and a number that does not fit is refused, not cut.
void SettOppNummerfelt(TIntEdit* felt);
// Why the field's text is refused ("Far «99999999999» har for mange sifre til
// å være et kåringsnummer."), with `hva` naming the field; empty when it is not.
QString Nummerfeil(const TIntEdit* felt, const QString& hva);
