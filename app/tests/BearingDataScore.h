#pragma once
// The real-data check of the bearing diagnosis: each recording of a bearing-data folder imported
// through the user's path (the WAV imported as a reading of a point at the nominal run speed, the
// rig's bearing added to the library and assigned to the point, then the reading's diagnosis), and
// per record the family the diagnosis names first, every family it flags, and whether only the
// labelled one is flagged. The folder holds `labels.json` ({"name": {"fault": "inner_race" |
// "outer_race" | "ball" | "normal", "shaft_hz": ...}}) beside `name.wav`.

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/ReadingDiagnosis.h"
#include "analysis/SignalProcessor.h"
#include "app/BearingEditor.h"
#include "app/CAppData.h"
#include "app/SignalTransfer.h"
#include "app/Startup.h"
#include "loaders/DiagnosisLoader.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantor::testing {

// The rig of the developers' recordings: 8 rolling elements of 5.969 mm on a 31.623 mm pitch
// circle, contact angle 0°, shaft 25 Hz.
inline CBearing RigBearing() {
    CBearing b;
    b.sDesignation = QStringLiteral("MFPT rig");
    b.sMaker = QStringLiteral("test rig");
    b.iRollingElements = 8;
    b.fRollingElementDiameterMM = 5.969f;
    b.fPitchDiameterMM = 31.623f;
    b.fContactAngleDeg = 0;
    b.sSource = QStringLiteral("bearing-data README");
    return b;
}

struct RecordScore {
    QString name;
    QString expected; // "BPFO", "BPFI", "BSF", "none"
    QString first;    // the family named first, "none" without a bearing finding
    QStringList flagged;
    bool rightFirst = false;
    bool rightAlone = false;
    QString error; // why the record could not be scored
};

inline QString FamilyOfLabel(const QString& fault) {
    if (fault == QLatin1String("inner_race")) {
        return QStringLiteral("BPFI");
    }
    if (fault == QLatin1String("outer_race")) {
        return QStringLiteral("BPFO");
    }
    if (fault == QLatin1String("ball")) {
        return QStringLiteral("BSF");
    }
    return QStringLiteral("none");
}

// The labels of the folder, by record name in name order; empty when there is no labels.json.
inline std::vector<std::pair<QString, QJsonObject>> Labels(const QString& folder) {
    QFile file(QDir(folder).filePath(QStringLiteral("labels.json")));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QJsonObject all = QJsonDocument::fromJson(file.readAll()).object();
    std::vector<std::pair<QString, QJsonObject>> labels;
    for (auto it = all.begin(); it != all.end(); ++it) {
        labels.emplace_back(it.key(), it.value().toObject());
    }
    return labels;
}

// Scores every labelled record of the folder in a started application (a fresh data root).
inline std::vector<RecordScore> ScoreRecordings(CAppData& app, const QString& folder) {
    std::vector<RecordScore> scores;
    CMainConnection& db = *app.MainConnection();
    BearingEditor editor(db, app.UserPrompter());
    const std::optional<QString> bearing = editor.SaveBearing(RigBearing());
    const CMachine machine{MakeItemGuid(), 0, QStringLiteral("Rig"), QStringLiteral("RIG"), {}};
    db.UpsertMachine(machine);
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    int day = 0;
    for (const auto& [name, label] : Labels(folder)) {
        RecordScore score;
        score.name = name;
        score.expected = FamilyOfLabel(label.value(QStringLiteral("fault")).toString());
        CVib point;
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.sName = name;
        point.sVMName = name.left(14);
        const double shaftHz = label.value(QStringLiteral("shaft_hz")).toDouble(25);
        point.fRunSpeedHz = static_cast<float>(shaftHz);
        db.UpsertVib(point);
        if (!bearing || !editor.AssignBearing(point.sItemGUID, *bearing, QStringLiteral("test"))) {
            score.error = QStringLiteral("the bearing could not be assigned");
            scores.push_back(score);
            continue;
        }
        SignalImportRequest request;
        request.pointGuid = point.sItemGUID;
        request.path = QDir(folder).filePath(name + QStringLiteral(".wav"));
        request.taken = QDateTime(QDate(2026, 1, 1), QTime(8, 0)).addDays(++day);
        request.runSpeedHz = static_cast<float>(shaftHz);
        request.choice.unit = SignalUnit::G; // the recordings are in g (their README)
        const SignalImportOutcome imported = ImportReadingSignals(app, processor, request);
        if (!imported.ok) {
            score.error = imported.error;
            scores.push_back(score);
            continue;
        }
        const std::optional<ReadingDiagnosis> diagnosis =
            DiagnoseReading(db, processor, analyzer, imported.reading.sItemGUID);
        if (!diagnosis) {
            score.error = QStringLiteral("no diagnosis");
            scores.push_back(score);
            continue;
        }
        for (const Finding& f : diagnosis->findings) {
            if (f.kind != FindingKind::BearingDefect) {
                continue;
            }
            for (const QString& family : f.families) {
                if (!score.flagged.contains(family)) {
                    score.flagged << family;
                }
            }
        }
        score.first = score.flagged.isEmpty() ? QStringLiteral("none") : score.flagged.front();
        score.rightFirst = score.first == score.expected;
        score.rightAlone = score.expected == QLatin1String("none")
                               ? score.flagged.isEmpty()
                               : score.flagged == QStringList{score.expected};
        scores.push_back(score);
    }
    return scores;
}

} // namespace vantor::testing
