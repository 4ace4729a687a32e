#pragma once
// The edition the program presents: its strings follow from the brand and the kind, which are
// fixed when the program is built.

#include <QString>

namespace vantor {

struct Edition {
    int brand = 2; // 1 or 2
    int kind = 0;  // 0 vibration edition, 1 lubrication edition
    QString title;
    QString productName;
    QString companyName;
    QString profileName; // settings key and database base name
    QString singleInstanceName;
    QString fileTypeClass;
    QString fileTypeDescription;
    QString shellVerb;

    static Edition For(int brand, int kind);
    // The edition this program was built as.
    static Edition Built();
};

} // namespace vantor
