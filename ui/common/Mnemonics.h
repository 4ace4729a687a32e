#pragma once
// Keyboard mnemonics for texts that come from the language table: the first letter not yet taken
// among its siblings is marked, so Alt+letter opens a menu or triggers an item in every language.

#include <QSet>
#include <QString>

namespace vantor {

class MnemonicSet {
public:
    // `text` with "&" before its first letter or digit not yet used in this set (an "&" in the text
    // itself is doubled so that it shows); the text unchanged when every character is taken.
    QString Mark(const QString& text);

private:
    QSet<QChar> used_;
};

} // namespace vantor
