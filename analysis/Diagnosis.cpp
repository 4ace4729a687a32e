#include "analysis/Diagnosis.h"

#include "analysis/FaultFamilies.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace vantor {
namespace {

constexpr int kHighestOrder = 10;

QString Level(double value) {
    return TextNumber(value, 'f', value < 10 ? 2 : 1);
}

QString Percent(double share) {
    return QStringLiteral("%1 %").arg(TextNumber(static_cast<double>(std::lround(share * 100)), 'f', 0));
}

QString Count(std::size_t count) {
    return QString::number(count);
}

// Whether a bearing family stands in the velocity spectrum too (Berry 1991: stage 3) or not yet.
QString StageText(bool inVelocity) {
    return UiText(inVelocity ? text::added::DiagLaterStage : text::added::DiagEarlyStage);
}

QString BandCandidateText(BandCandidate candidate) {
    switch (candidate) {
    case BandCandidate::WhitenedFullBand:
        return UiText(text::added::WhitenedFullBand);
    case BandCandidate::KurtogramBand:
        return UiText(text::added::KurtogramBand);
    case BandCandidate::PointBand:
        return UiText(text::added::PointsOwnBand);
    }
    return {};
}

// An order line of the ISO spectrum: the largest line near n × run speed.
struct OrderLine {
    double order = 0;
    double hz = 0;
    double amplitude = 0;
};

OrderLine FindOrder(const SpectrumLines& spectrum, double runSpeedHz, double order) {
    OrderLine line{order, order * runSpeedHz, 0};
    const double expected = order * runSpeedHz;
    const double window =
        MatchWindowHz(expected, spectrum.lineSpacingHz, ThresholdValue(Threshold::OrderTolerancePercent));
    const LineSpan span = LinesBetween(spectrum, expected - window, expected + window);
    for (int i = span.first; i < span.end; ++i) {
        const double a = spectrum.amplitudes[static_cast<std::size_t>(i)];
        if (a > line.amplitude) {
            line.amplitude = a;
            line.hz = i * spectrum.lineSpacingHz;
        }
    }
    return line;
}

// Four running sums, so that the additions of a long spectrum need not wait on each other.
double SumOfSquares(const SpectrumLines& spectrum, LineSpan span) {
    if (span.Empty()) {
        return 0;
    }
    const std::span<const double> lines = spectrum.amplitudes.subspan(
        static_cast<std::size_t>(span.first), static_cast<std::size_t>(span.end - span.first));
    std::array<double, 4> sums{};
    std::size_t i = 0;
    for (; i + 4 <= lines.size(); i += 4) {
        for (std::size_t k = 0; k < 4; ++k) {
            sums[k] += lines[i + k] * lines[i + k];
        }
    }
    for (; i < lines.size(); ++i) {
        sums[0] += lines[i] * lines[i];
    }
    return (sums[0] + sums[1]) + (sums[2] + sums[3]);
}

QString OrderName(double order) {
    return QStringLiteral("%1×").arg(TextNumber(order, 'g', 3));
}

Evidence IsoEvidence(const OrderLine& line) {
    return {
        QStringLiteral("ISO"), line.hz, line.amplitude, QStringLiteral("mm/s"),
        UiText(text::added::DiagIsoLine).arg(OrderName(line.order), Level(line.amplitude), Level(line.hz))};
}

// The RMS of the ISO lines: the overall of a reading that gives no stored value.
double LinesOverall(const SpectrumLines& spectrum) {
    return std::sqrt(SumOfSquares(spectrum, LinesBetween(spectrum, spectrum.first * spectrum.lineSpacingHz,
                                                         spectrum.end * spectrum.lineSpacingHz)));
}

// The zone of the ISO overall among the boundaries, compared in single precision with "at or above"
// as the documented status compares a stored value with the point's levels.
StatusCode ZoneStage(double overallMms, const DiagnosisZones& zones) {
    const auto overall = static_cast<float>(overallMms);
    if (overall >= static_cast<float>(zones.cd)) {
        return StatusCode::Critical;
    }
    return overall >= static_cast<float>(zones.bc) ? StatusCode::Warning : StatusCode::Ok;
}

QString ZoneName(double overallMms, const DiagnosisZones& zones) {
    switch (ZoneStage(overallMms, zones)) {
    case StatusCode::Critical:
        return QStringLiteral("D");
    case StatusCode::Warning:
        return QStringLiteral("C");
    default:
        break;
    }
    return static_cast<float>(overallMms) >= static_cast<float>(zones.ab) ? QStringLiteral("B")
                                                                          : QStringLiteral("A");
}

// The ISO spectrum's view of the run-speed orders.
struct Orders {
    std::vector<OrderLine> harmonics;  // 1× .. 10× (index 0 is 1×)
    std::vector<OrderLine> halfOrders; // 0.5×, 1.5×, .. 9.5×
    double largest = 0;                // the largest order line
    double noiseFloor = 0;
    double oneXShare = 0; // 1×'s share of the spectrum's energy
    DiagnosisZones zones;
    double overall = 0;                // the ISO overall, mm/s RMS
    StatusCode stage = StatusCode::Ok; // its zone as a finding's severity
    Evidence overallEvidence;
};

Orders ReadOrders(const DiagnosisInput& input) {
    const SpectrumLines& iso = input.iso;
    const double runSpeedHz = input.runSpeedHz;
    Orders o;
    o.zones = input.zones;
    o.overall = input.isoOverallMms ? *input.isoOverallMms : LinesOverall(iso);
    o.stage = ZoneStage(o.overall, o.zones);
    o.overallEvidence = {
        QStringLiteral("ISO"), 0, o.overall, QStringLiteral("mm/s"),
        UiText(text::added::DiagIsoOverall)
            .arg(Level(o.overall), ZoneName(o.overall, o.zones), Level(o.zones.bc), Level(o.zones.cd))};
    for (int n = 1; n <= kHighestOrder; ++n) {
        o.harmonics.push_back(FindOrder(iso, runSpeedHz, n));
        o.halfOrders.push_back(FindOrder(iso, runSpeedHz, n - 0.5));
    }
    for (const OrderLine& line : o.harmonics) {
        o.largest = std::max(o.largest, line.amplitude);
    }
    const LineSpan orderSpan = LinesBetween(iso, 0.5 * runSpeedHz, (kHighestOrder + 0.5) * runSpeedHz);
    std::vector<double> amplitudes;
    for (int i = orderSpan.first; i < orderSpan.end; ++i) {
        amplitudes.push_back(iso.amplitudes[static_cast<std::size_t>(i)]);
    }
    o.noiseFloor = MedianOf(std::move(amplitudes)) * ThresholdValue(Threshold::NoiseFactor);
    // 1×'s energy: its window and the two lines of leakage either side of it.
    const double window =
        MatchWindowHz(runSpeedHz, iso.lineSpacingHz, ThresholdValue(Threshold::OrderTolerancePercent)) +
        2 * iso.lineSpacingHz;
    const double all = SumOfSquares(iso, LinesBetween(iso, 0, iso.end * iso.lineSpacingHz));
    if (all > 0) {
        o.oneXShare = SumOfSquares(iso, LinesBetween(iso, runSpeedHz - window, runSpeedHz + window)) / all;
    }
    return o;
}

bool Counts(const Orders& o, const OrderLine& line) {
    return line.amplitude > o.noiseFloor &&
           line.amplitude >= ThresholdValue(Threshold::LoosenessLineShare) * o.largest && line.amplitude > 0;
}

std::optional<Finding> Unbalance(const Orders& o) {
    const OrderLine& one = o.harmonics[0];
    const double two = o.harmonics[1].amplitude;
    const double three = o.harmonics[2].amplitude;
    const double little = ThresholdValue(Threshold::UnbalanceHarmonics) * one.amplitude;
    if (one.amplitude < o.zones.ab || o.oneXShare < ThresholdValue(Threshold::UnbalanceShare) ||
        two >= little || three >= little) {
        return std::nullopt;
    }
    Finding f;
    f.kind = FindingKind::Unbalance;
    f.severity = o.stage;
    f.confidence = std::clamp(o.oneXShare * (1 - std::max(two, three) / one.amplitude), 0.0, 1.0);
    f.summary = UiText(text::added::DiagUnbalanceSummary)
                    .arg(Percent(o.oneXShare), Percent(two / one.amplitude), Percent(three / one.amplitude));
    f.evidence = {IsoEvidence(one), IsoEvidence(o.harmonics[1]), IsoEvidence(o.harmonics[2]),
                  o.overallEvidence};
    return f;
}

std::optional<Finding> Misalignment(const Orders& o) {
    const OrderLine& one = o.harmonics[0];
    const OrderLine& two = o.harmonics[1];
    const OrderLine& three = o.harmonics[2];
    const double key = std::max({one.amplitude, two.amplitude, three.amplitude});
    if (one.amplitude <= 0 || key < o.zones.ab) {
        return std::nullopt;
    }
    const double twoRatio = two.amplitude / one.amplitude;
    const double threeRatio = three.amplitude / one.amplitude;
    const bool byTwo = twoRatio >= ThresholdValue(Threshold::MisalignmentTwoX);
    const bool byThree = threeRatio >= ThresholdValue(Threshold::MisalignmentThreeX);
    if (!byTwo && !byThree) {
        return std::nullopt;
    }
    Finding f;
    f.kind = FindingKind::Misalignment;
    f.severity = o.stage;
    f.confidence = std::clamp(std::max(twoRatio, threeRatio), 0.5, 1.0);
    f.summary = UiText(text::added::DiagMisalignmentSummary).arg(Percent(twoRatio), Percent(threeRatio));
    f.evidence = {IsoEvidence(one), IsoEvidence(two), IsoEvidence(three), o.overallEvidence};
    return f;
}

std::optional<Finding> Looseness(const Orders& o) {
    if (o.largest < o.zones.ab) {
        return std::nullopt;
    }
    std::vector<Evidence> evidence{IsoEvidence(o.harmonics[0])};
    int harmonics = 0;
    for (std::size_t n = 1; n < o.harmonics.size(); ++n) {
        if (Counts(o, o.harmonics[n])) {
            ++harmonics;
            evidence.push_back(IsoEvidence(o.harmonics[n]));
        }
    }
    int halves = 0;
    for (const OrderLine& line : o.halfOrders) {
        if (Counts(o, line)) {
            ++halves;
            evidence.push_back(IsoEvidence(line));
        }
    }
    const int harmonicsNeeded = static_cast<int>(ThresholdValue(Threshold::LoosenessHarmonics));
    const int halvesNeeded = static_cast<int>(ThresholdValue(Threshold::LoosenessHalfOrders));
    if (harmonics < harmonicsNeeded && halves < halvesNeeded) {
        return std::nullopt;
    }
    Finding f;
    f.kind = FindingKind::Looseness;
    f.severity = o.stage;
    f.confidence = std::clamp(0.5 + 0.1 * (harmonics - harmonicsNeeded) + 0.1 * halves, 0.5, 1.0);
    f.summary = UiText(text::added::DiagLoosenessSummary)
                    .arg(Count(static_cast<std::size_t>(harmonics)), Count(static_cast<std::size_t>(halves)));
    f.evidence = std::move(evidence);
    f.evidence.push_back(o.overallEvidence);
    return f;
}

const FamilyMatch* SameFamily(const std::vector<BearingMatch>& matches, const FamilyMatch& family) {
    for (const BearingMatch& bearing : matches) {
        for (const FamilyMatch& other : bearing.families) {
            if (other.family.bearing == family.family.bearing && other.family.kind == family.family.kind) {
                return &other;
            }
        }
    }
    return nullptr;
}

// The harmonics of a family above its noise floor that no stronger family has claimed: a line
// where two families' harmonics coincide (BPFI 2× beside BPFO 3×) is evidence for the stronger only.
std::vector<const LineMatch*> OwnHarmonics(const FamilyMatch& family, std::vector<double>& claimedHz,
                                           double spacingHz) {
    std::vector<const LineMatch*> own;
    for (const LineMatch& line : family.lines) {
        if (!line.aboveNoise || line.expected.sideband != 0) {
            continue;
        }
        const bool claimed = std::any_of(claimedHz.begin(), claimedHz.end(), [&](double hz) {
            return std::abs(hz - line.matchedHz) <= spacingHz;
        });
        if (!claimed) {
            own.push_back(&line);
        }
    }
    return own;
}

std::vector<Finding> BearingDefects(const DiagnosisInput& input, double envelopeSpacingHz) {
    std::vector<Finding> findings;
    const int needed = static_cast<int>(ThresholdValue(Threshold::BearingHarmonics));
    // Strongest families first, so they claim their lines.
    std::vector<std::pair<const BearingMatch*, const FamilyMatch*>> families;
    for (const BearingMatch& bearing : input.envelopeMatches) {
        for (const FamilyMatch& family : bearing.families) {
            families.emplace_back(&bearing, &family);
        }
    }
    std::stable_sort(families.begin(), families.end(), [](const auto& a, const auto& b) {
        return a.second->matchedHarmonics > b.second->matchedHarmonics;
    });
    std::vector<double> claimedHz;
    for (const auto& [bearing, family] : families) {
        const std::vector<const LineMatch*> own = OwnHarmonics(*family, claimedHz, envelopeSpacingHz);
        if (static_cast<int>(own.size()) < needed) {
            continue;
        }
        for (const LineMatch* line : own) {
            claimedHz.push_back(line->matchedHz);
        }
        Finding f;
        f.kind = FindingKind::BearingDefect;
        f.families << FaultName(family->family.kind);
        // A later stage when the family stands in the velocity spectrum too, by the same count.
        const FamilyMatch* velocity = SameFamily(input.velocityMatches, *family);
        const bool inVelocity = velocity != nullptr && velocity->matchedHarmonics >= needed;
        f.severity = inVelocity ? StatusCode::Critical : StatusCode::Warning;
        const int searched = std::max<int>(
            1, static_cast<int>(std::count_if(family->lines.begin(), family->lines.end(),
                                              [](const LineMatch& l) { return l.expected.sideband == 0; })));
        f.confidence =
            std::clamp(static_cast<double>(own.size()) / searched + (inVelocity ? 0.2 : 0.0), 0.0, 1.0);
        f.summary = UiText(text::added::DiagEnvelopeHarmonics)
                        .arg(UiText(text::added::DiagFamilyOfBearing)
                                 .arg(FaultName(family->family.kind), bearing->bearing.designation,
                                      bearing->bearing.location),
                             Count(own.size()), StageText(inVelocity));
        for (const LineMatch* line : own) {
            f.evidence.push_back(
                {QStringLiteral("Envelope"), line->matchedHz, line->amplitude, QStringLiteral("gE"),
                 UiText(text::added::DiagEnvelopeLine)
                     .arg(FaultName(family->family.kind), QString::number(line->expected.harmonic),
                          TextNumber(line->amplitude, 'g', 3), Level(line->matchedHz))});
        }
        if (inVelocity) {
            for (const LineMatch& line : velocity->lines) {
                if (line.aboveNoise && line.expected.sideband == 0) {
                    f.evidence.push_back(
                        {QStringLiteral("ISO"), line.matchedHz, line.amplitude, QStringLiteral("mm/s"),
                         UiText(text::added::DiagVelocityLine)
                             .arg(FaultName(family->family.kind), QString::number(line.expected.harmonic),
                                  Level(line.amplitude), Level(line.matchedHz))});
                }
            }
        }
        findings.push_back(std::move(f));
    }
    return findings;
}

// What to do next about an early-stage defect of a family (Berry 1991: stage 2, envelope only).
QString NextStepOf(FaultKind kind) {
    switch (kind) {
    case FaultKind::Bpfo:
        return UiText(text::added::NextStepOuterRace);
    case FaultKind::Bpfi:
        return UiText(text::added::NextStepInnerRace);
    case FaultKind::Bsf:
        return UiText(text::added::NextStepRollingElement);
    case FaultKind::Ftf:
        return UiText(text::added::NextStepCage);
    }
    return {};
}

QString BandText(const BearingCandidateResult& judged) {
    return QStringLiteral("%1 %2-%3 Hz")
        .arg(BandCandidateText(judged.candidate), TextNumber(judged.band.lowHz, 'f', 0),
             TextNumber(judged.band.highHz, 'f', 0));
}

QString RunSpeedText(const DiagnosisInput& input) {
    if (!input.storedRunSpeedHz) {
        return {};
    }
    return UiText(text::added::DiagRunSpeedEstimated)
        .arg(TextNumber(input.runSpeedHz, 'f', 1), TextNumber(*input.storedRunSpeedHz, 'f', 1));
}

QString LineName(const FamilyEvidence& family, const EvidenceLine& line) {
    QString name = QStringLiteral("%1 %2×").arg(FaultName(family.family.kind)).arg(line.harmonic);
    if (line.sideband != 0) {
        name += line.sideband < 0 ? QStringLiteral(" − ") : QStringLiteral(" + ");
        name += family.family.kind == FaultKind::Bpfi ? QStringLiteral("1×") : QStringLiteral("FTF");
    }
    return name;
}

// The lines a family stands on, each with its height over the local noise floor.
void AddLineEvidence(const FamilyEvidence& family, std::vector<Evidence>& evidence) {
    for (const EvidenceLine& line : family.lines) {
        if (!line.stands || line.shaftLine || line.taken) {
            continue;
        }
        const double db = 20 * std::log10(line.overNoise);
        evidence.push_back({QStringLiteral("Envelope"), line.hz, db, QStringLiteral("dB"),
                            UiText(text::added::DiagLineOverNoise)
                                .arg(LineName(family, line), Level(line.hz), TextNumber(db, 'f', 1))});
    }
}

QString BearingName(const DiagnosisInput& input, const FamilyEvidence& family) {
    const auto index = static_cast<std::size_t>(family.family.bearing);
    if (index >= input.bearings.size()) {
        return FaultName(family.family.kind);
    }
    return UiText(text::added::DiagFamilyOfBearing)
        .arg(FaultName(family.family.kind), input.bearings[index].designation,
             input.bearings[index].location);
}

std::vector<Finding> VerdictFindings(const DiagnosisInput& input, const BearingVerdict& verdict) {
    std::vector<Finding> findings;
    const BearingCandidateResult* judged = verdict.Chosen();
    if (judged == nullptr || judged->call == BearingCall::None) {
        return findings;
    }
    const int needed = static_cast<int>(ThresholdValue(Threshold::BearingHarmonics));
    const std::vector<FamilyEvidence>& families = judged->families;
    const double lead = families[judged->named.front()].ownScore;
    if (judged->call == BearingCall::Uncertain) {
        Finding f;
        f.kind = FindingKind::BearingDefect;
        f.severity = StatusCode::Warning;
        QStringList candidates;
        for (const std::size_t i : judged->named) {
            candidates << QStringLiteral("%1 %2").arg(BearingName(input, families[i]),
                                                      TextNumber(families[i].ownScore, 'f', 1));
            f.families << FaultName(families[i].family.kind);
            AddLineEvidence(families[i], f.evidence);
        }
        f.confidence = std::clamp(lead / (3 * kHealthyScore), 0.2, 0.5);
        f.summary = UiText(text::added::DiagUncertainSummary)
                        .arg(candidates.join(QStringLiteral(", ")), BandText(*judged), RunSpeedText(input));
        f.nextStep = UiText(text::added::NextStepUncertain);
        findings.push_back(std::move(f));
        return findings;
    }
    // The strongest family not named: how clearly the named ones lead.
    double second = 0;
    for (std::size_t i = 0; i < families.size(); ++i) {
        if (std::find(judged->named.begin(), judged->named.end(), i) == judged->named.end()) {
            second = std::max(second, families[i].ownScore);
        }
    }
    for (const std::size_t i : judged->named) {
        const FamilyEvidence& family = families[i];
        Finding f;
        f.kind = FindingKind::BearingDefect;
        FamilyMatch probe;
        probe.family = family.family;
        const FamilyMatch* velocity = SameFamily(input.velocityMatches, probe);
        const bool inVelocity = velocity != nullptr && velocity->matchedHarmonics >= needed;
        f.severity = inVelocity ? StatusCode::Critical : StatusCode::Warning;
        const double margin = family.ownScore > 0 ? std::clamp(1 - second / family.ownScore, 0.0, 1.0) : 0.0;
        f.confidence =
            std::clamp(std::min(1.0, family.ownScore / (3 * kHealthyScore)) * (0.5 + 0.5 * margin) +
                           (inVelocity ? 0.1 : 0.0),
                       0.2, 1.0);
        f.summary = UiText(text::added::DiagVerdictSummary)
                        .arg(BearingName(input, family), TextNumber(family.ownScore, 'f', 1),
                             QString::number(family.ownLines), BandText(*judged), StageText(inVelocity),
                             RunSpeedText(input));
        AddLineEvidence(family, f.evidence);
        f.families << FaultName(family.family.kind);
        if (inVelocity) {
            for (const LineMatch& line : velocity->lines) {
                if (line.aboveNoise && line.expected.sideband == 0) {
                    f.evidence.push_back(
                        {QStringLiteral("ISO"), line.matchedHz, line.amplitude, QStringLiteral("mm/s"),
                         UiText(text::added::DiagVelocityLine)
                             .arg(FaultName(family.family.kind), QString::number(line.expected.harmonic),
                                  Level(line.amplitude), Level(line.matchedHz))});
                }
            }
        }
        f.nextStep = inVelocity ? UiText(text::added::NextStepBearingLate) : NextStepOf(family.family.kind);
        findings.push_back(std::move(f));
    }
    return findings;
}

std::optional<Finding> Impacting(const DiagnosisInput& input) {
    const double crest = input.crest.value_or(0);
    const double kurtosis = input.kurtosis.value_or(0);
    const double crestRatio = crest / ThresholdValue(Threshold::CrestFactor);
    const double kurtosisRatio = kurtosis / ThresholdValue(Threshold::Kurtosis);
    if (crestRatio <= 1 && kurtosisRatio <= 1) {
        return std::nullopt;
    }
    Finding f;
    f.kind = FindingKind::Impacting;
    f.severity = crest >= ThresholdValue(Threshold::CrestFactorSevere) ||
                         kurtosis >= ThresholdValue(Threshold::KurtosisSevere)
                     ? StatusCode::Critical
                     : StatusCode::Warning;
    f.confidence = std::clamp(0.5 + 0.5 * (std::max(crestRatio, kurtosisRatio) - 1), 0.5, 1.0);
    f.summary = UiText(text::added::DiagImpactingSummary).arg(Level(crest), Level(kurtosis));
    if (input.crest) {
        f.evidence.push_back({QStringLiteral("Total"), 0, crest, QString(),
                              UiText(text::added::DiagCrestEvidence)
                                  .arg(Level(crest), Level(ThresholdValue(Threshold::CrestFactor)))});
    }
    if (input.kurtosis) {
        f.evidence.push_back({QStringLiteral("Total"), 0, kurtosis, QString(),
                              UiText(text::added::DiagKurtosisEvidence)
                                  .arg(Level(kurtosis), Level(ThresholdValue(Threshold::Kurtosis)))});
    }
    return f;
}

} // namespace

QString FindingKindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::Unbalance:
        return QStringLiteral("unbalance");
    case FindingKind::Misalignment:
        return QStringLiteral("misalignment");
    case FindingKind::Looseness:
        return QStringLiteral("looseness");
    case FindingKind::BearingDefect:
        return QStringLiteral("bearing");
    case FindingKind::Impacting:
        return QStringLiteral("impacting");
    case FindingKind::NoFinding:
        break;
    }
    return QStringLiteral("none");
}

QString FindingKindCaption(FindingKind kind) {
    switch (kind) {
    case FindingKind::Unbalance:
        return QStringLiteral("Unbalance");
    case FindingKind::Misalignment:
        return QStringLiteral("Misalignment");
    case FindingKind::Looseness:
        return QStringLiteral("Mechanical looseness");
    case FindingKind::BearingDefect:
        return QStringLiteral("Bearing defect");
    case FindingKind::Impacting:
        return QStringLiteral("Impacting");
    case FindingKind::NoFinding:
        break;
    }
    return QStringLiteral("No finding");
}

DiagnosisZones DefaultDiagnosisZones() {
    return {ThresholdValue(Threshold::ZoneAB), ThresholdValue(Threshold::ZoneBC),
            ThresholdValue(Threshold::ZoneCD)};
}

DiagnosisZones DiagnosisZonesOf(const CVib& point) {
    if (!point.bISOAlarmsOn || !(point.fISOWarningMMS > 0) ||
        !(point.fISOCriticalMMS >= point.fISOWarningMMS)) {
        return DefaultDiagnosisZones();
    }
    return {ThresholdValue(Threshold::ZoneABShare) * point.fISOWarningMMS, point.fISOWarningMMS,
            point.fISOCriticalMMS};
}

DiagnosisZones DiagnosisZonesOf(const CVib& point, const std::optional<ZoneBoundaries>& standardVelocity) {
    if (standardVelocity) {
        return {standardVelocity->ab, standardVelocity->bc, standardVelocity->cd};
    }
    return DiagnosisZonesOf(point);
}

double ThresholdValue(Threshold id) {
    for (const DiagnosisThreshold& row : kDiagnosisThresholds) {
        if (row.id == id) {
            return row.value;
        }
    }
    return 0;
}

std::vector<Finding> Diagnose(const DiagnosisInput& input) {
    std::vector<Finding> findings;
    if (input.runSpeedHz > 0 && input.iso.lineSpacingHz > 0 && !input.iso.amplitudes.empty()) {
        const Orders orders = ReadOrders(input);
        for (auto rule : {Unbalance, Misalignment, Looseness}) {
            if (std::optional<Finding> f = rule(orders)) {
                findings.push_back(std::move(*f));
            }
        }
    }
    const bool judged = input.bearingVerdict && input.bearingVerdict->analysed;
    for (Finding& f : judged ? VerdictFindings(input, *input.bearingVerdict)
                             : BearingDefects(input, input.envelopeSpacingHz)) {
        findings.push_back(std::move(f));
    }
    if (std::optional<Finding> f = Impacting(input)) {
        findings.push_back(std::move(*f));
    }
    if (findings.empty()) {
        Finding none;
        none.summary = UiText(text::added::DiagNoRule);
        none.confidence = 1;
        findings.push_back(std::move(none));
    }
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.severity != b.severity) {
            return static_cast<int>(a.severity) > static_cast<int>(b.severity);
        }
        return a.confidence > b.confidence;
    });
    return findings;
}

std::vector<Finding> AlarmingFindings(const std::vector<Finding>& findings) {
    std::vector<Finding> alarming;
    for (const Finding& finding : findings) {
        if (finding.kind != FindingKind::NoFinding &&
            (finding.severity == StatusCode::Warning || finding.severity == StatusCode::Critical)) {
            alarming.push_back(finding);
        }
    }
    return alarming;
}

StatusCode FindingsSeverity(const std::vector<Finding>& findings) {
    StatusCode worst = StatusCode::Ok;
    for (const Finding& finding : AlarmingFindings(findings)) {
        if (finding.severity == StatusCode::Critical) {
            return StatusCode::Critical;
        }
        worst = StatusCode::Warning;
    }
    return worst;
}

QString FindingKindText(FindingKind kind) {
    return UiText(text::added::FirstFindingKind + static_cast<int>(kind));
}

} // namespace vantor
