#include "store/DataFileChecks.h"

#include "store/MainConnection.h"
#include "store/Validation.h"

#include <QRegularExpression>

#include <cmath>
#include <initializer_list>

namespace vantor {
namespace {

std::optional<QString> GuidProblem(const QString& guid, const char* what) {
    if (IsItemGuid(guid)) {
        return std::nullopt;
    }
    return QStringLiteral("malformed %1 GUID").arg(QLatin1String(what));
}

bool AllFinite(std::initializer_list<float> values) {
    for (const float value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsItemGuid(const QString& guid) {
    static const QRegularExpression form(QStringLiteral(
        "^\\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\}$"));
    return form.match(guid).hasMatch();
}

bool DataFileChecks::MachineKnown(const QString& guid) {
    CMachine found;
    return machines_.contains(guid) || (!refusedMachines_.contains(guid) && db_.GetMachine(guid, found));
}

bool DataFileChecks::VibKnown(const QString& guid) {
    CVib found;
    return vibs_.contains(guid) || (!refusedVibs_.contains(guid) && db_.GetVib(guid, found));
}

bool DataFileChecks::RouteKnown(const QString& guid) {
    CRoute found;
    return routes_.contains(guid) || (!refusedRoutes_.contains(guid) && db_.GetRoute(guid, found));
}

std::optional<QString> DataFileChecks::Machine(CMachine& machine) {
    std::optional<QString> problem = GuidProblem(machine.sItemGUID, "machine");
    const QStringList addresses = machine.sEMails.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (!problem) {
        problem = CheckMachine(machine, addresses);
    }
    if (!problem) {
        problem = CheckMachineAddresses(addresses);
    }
    (problem ? refusedMachines_ : machines_).insert(machine.sItemGUID);
    return problem;
}

std::optional<QString> DataFileChecks::Vib(CVib& vib) {
    std::optional<QString> problem = GuidProblem(vib.sItemGUID, "vibration point");
    if (!problem && !MachineKnown(vib.sParentGUID)) {
        problem = QStringLiteral("its machine is neither in the file nor in the database");
    }
    if (!problem) {
        problem = CheckVibPoint(vib);
    }
    (problem ? refusedVibs_ : vibs_).insert(vib.sItemGUID);
    return problem;
}

std::optional<QString> DataFileChecks::Reading(const CVibReading& r) {
    if (auto problem = GuidProblem(r.sItemGUID, "reading")) {
        return problem;
    }
    if (!VibKnown(r.sParentGUID)) {
        return QStringLiteral("its vibration point is neither in the file nor in the database");
    }
    if (!r.ctDateTaken.isValid()) {
        return QStringLiteral("its date is not valid");
    }
    if (r.iISONumberOfSamples < 0 || r.iTotalNumberOfSamples < 0 ||
        !AllFinite({r.fISOMMS,
                    r.fDisplacementMicrons,
                    r.fTotalG,
                    r.fTotalMMS,
                    r.fBearingBDU,
                    r.fVABand1MMS,
                    r.fVABand2MMS,
                    r.fVABand3MMS,
                    r.fVABand4MMS,
                    r.fVABand1G,
                    r.fVABand2G,
                    r.fVABand3G,
                    r.fVABand4G,
                    r.fAccelerometerSensitivity,
                    r.fOriginalRunSpeedHz,
                    r.fCurrentRunSpeedHz,
                    r.fISOSamplingFrequency,
                    r.fTotalSamplingFrequency,
                    r.fISOGain,
                    r.fISOCal,
                    r.fTotalGain,
                    r.fTotalCal,
                    r.fPSUVoltage})) {
        return QStringLiteral("a value is not a finite number or a sample count is negative");
    }
    return std::nullopt;
}

std::optional<QString> DataFileChecks::Route(const CRoute& route) {
    std::optional<QString> problem = GuidProblem(route.sItemGUID, "route");
    if (!problem) {
        problem = CheckPromptedName(route.sName);
    }
    (problem ? refusedRoutes_ : routes_).insert(route.sItemGUID);
    return problem;
}

std::optional<QString> DataFileChecks::RouteItem(const CRouteItem& item) {
    if (auto problem = GuidProblem(item.sItemGUID, "route item")) {
        return problem;
    }
    if (!RouteKnown(item.sParentGUID)) {
        return QStringLiteral("its route is neither in the file nor in the database");
    }
    if (!MachineKnown(item.sMachineGUID)) {
        return QStringLiteral("its machine is neither in the file nor in the database");
    }
    return std::nullopt;
}

} // namespace vantor
