#include "tools/meter-sim/MeterScenario.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vantor::sim {
namespace {

// Reads typed members of one JSON object and remembers the first problem, naming where it was.
class Reader {
public:
    Reader(const QJsonObject& object, QString where, QString& error)
        : object_(object), where_(std::move(where)), error_(error) {}

    // Refuses members other than `known`, so that a misspelt name does not pass unnoticed.
    void OnlyKnown(std::initializer_list<const char*> known) {
        for (const QString& key : object_.keys()) {
            bool found = false;
            for (const char* name : known) {
                found = found || key == QLatin1String(name);
            }
            if (!found) {
                Fail(QStringLiteral("unknown member \"%1\"").arg(key));
            }
        }
    }
    void Text(const char* name, QString& out) {
        if (const QJsonValue v = object_.value(QLatin1String(name)); !v.isUndefined()) {
            v.isString() ? void(out = v.toString()) : Fail(QStringLiteral("\"%1\" must be text").arg(name));
        }
    }
    void Number(const char* name, double& out) {
        if (const QJsonValue v = object_.value(QLatin1String(name)); !v.isUndefined()) {
            v.isDouble() ? void(out = v.toDouble())
                         : Fail(QStringLiteral("\"%1\" must be a number").arg(name));
        }
    }
    void Integer(const char* name, int& out) {
        double value = out;
        Number(name, value);
        out = static_cast<int>(value);
    }
    void Flag(const char* name, bool& out) {
        if (const QJsonValue v = object_.value(QLatin1String(name)); !v.isUndefined()) {
            v.isBool() ? void(out = v.toBool())
                       : Fail(QStringLiteral("\"%1\" must be true or false").arg(name));
        }
    }
    QJsonObject Object(const char* name) {
        const QJsonValue v = object_.value(QLatin1String(name));
        if (!v.isUndefined() && !v.isObject()) {
            Fail(QStringLiteral("\"%1\" must be an object").arg(name));
        }
        return v.toObject();
    }
    QJsonArray Array(const char* name) {
        const QJsonValue v = object_.value(QLatin1String(name));
        if (!v.isUndefined() && !v.isArray()) {
            Fail(QStringLiteral("\"%1\" must be an array").arg(name));
        }
        return v.toArray();
    }
    bool Has(const char* name) const { return object_.contains(QLatin1String(name)); }
    QJsonValue Value(const char* name) const { return object_.value(QLatin1String(name)); }
    void Fail(const QString& problem) {
        if (error_.isEmpty()) {
            error_ = where_ + QStringLiteral(": ") + problem;
        }
    }

private:
    QJsonObject object_;
    QString where_;
    QString& error_;
};

// A list of slot numbers, or a flag word.
bool SlotWord(const QJsonValue& value, unsigned& word) {
    if (value.isDouble()) {
        word = static_cast<unsigned>(value.toInt()) & 0x3FFu;
        return true;
    }
    if (!value.isArray()) {
        return false;
    }
    word = 0;
    for (const QJsonValue& slot : value.toArray()) {
        const int s = slot.toInt(-1);
        if (s < 0 || s >= kSlotsPerPoint) {
            return false;
        }
        word |= 1u << s;
    }
    return true;
}

void ReadChannel(const QJsonObject& object, const QString& where, ChannelSetup& channel, QString& error) {
    Reader r(object, where, error);
    r.OnlyKnown({"samples", "samplingHz", "cal", "gain"});
    r.Integer("samples", channel.samples);
    r.Number("samplingHz", channel.samplingHz);
    r.Number("cal", channel.calibration);
    r.Number("gain", channel.gain);
    if (channel.samples * 2 != kCaptureBytes) {
        r.Fail(QStringLiteral("the meter captures exactly %1 samples").arg(kCaptureBytes / 2));
    }
}

void ReadRecipe(const QJsonObject& object, const QString& where, SignalRecipe& recipe, QString& error) {
    Reader r(object, where, error);
    r.OnlyKnown({"runSpeedHz", "tones", "bearing", "noiseRmsG", "seed"});
    r.Number("runSpeedHz", recipe.runSpeedHz);
    r.Number("noiseRmsG", recipe.noiseRmsG);
    int seed = static_cast<int>(recipe.seed);
    r.Integer("seed", seed);
    recipe.seed = static_cast<std::uint32_t>(seed);
    for (const QJsonValue& value : r.Array("tones")) {
        Reader t(value.toObject(), where + QStringLiteral(" tone"), error);
        t.OnlyKnown({"frequencyHz", "order", "amplitudeG"});
        Tone tone;
        t.Number("frequencyHz", tone.frequencyHz);
        t.Number("order", tone.order);
        t.Number("amplitudeG", tone.amplitudeG);
        recipe.tones.push_back(tone);
    }
    if (r.Has("bearing")) {
        Reader b(r.Object("bearing"), where + QStringLiteral(" bearing"), error);
        b.OnlyKnown({"defectHz", "resonanceHz", "amplitudeG", "decaySeconds"});
        b.Number("defectHz", recipe.bearing.defectHz);
        b.Number("resonanceHz", recipe.bearing.resonanceHz);
        b.Number("amplitudeG", recipe.bearing.amplitudeG);
        b.Number("decaySeconds", recipe.bearing.decaySeconds);
    }
}

} // namespace

bool ParseScenario(const QByteArray& json, Scenario& scenario, QString& error) {
    error.clear();
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        error = QStringLiteral("scenario: not a JSON object (%1)").arg(parseError.errorString());
        return false;
    }
    Reader top(document.object(), QStringLiteral("scenario"), error);
    top.OnlyKnown({"meter", "assets", "points", "readings", "faults"});
    MeterState& state = scenario.state;

    Reader meter(top.Object("meter"), QStringLiteral("meter"), error);
    meter.OnlyKnown({"version", "guid", "serial", "btAddress", "number", "lineSpeed", "screen",
                     "flashRevision", "totalFirst", "flashFieldDigits", "infoFields"});
    meter.Text("version", state.version);
    meter.Text("guid", state.guid);
    meter.Text("serial", state.serial);
    meter.Text("btAddress", state.btAddress);
    meter.Integer("number", state.number);
    meter.Integer("lineSpeed", state.lineSpeed);
    meter.Integer("screen", state.screen);
    meter.Text("flashRevision", state.flashRevision);
    meter.Flag("totalFirst", state.totalCaptureFirst);
    meter.Integer("flashFieldDigits", state.flashFieldDigits);
    meter.Integer("infoFields", state.infoFields);
    if (state.infoFields < 0 || state.infoFields > 5) {
        meter.Fail(QStringLiteral("\"infoFields\" must be 0 to 5"));
    }
    if (state.flashFieldDigits != 3 && state.flashFieldDigits != 4) {
        meter.Fail(QStringLiteral("\"flashFieldDigits\" must be 3 or 4"));
    }

    for (const QJsonValue& value : top.Array("assets")) {
        Reader a(value.toObject(), QStringLiteral("asset"), error);
        a.OnlyKnown({"guid", "name"});
        Asset asset;
        a.Text("guid", asset.guid);
        a.Text("name", asset.name);
        state.assets.push_back(asset);
    }
    for (const QJsonValue& value : top.Array("points")) {
        Reader p(value.toObject(), QStringLiteral("point %1").arg(state.points.size()), error);
        p.OnlyKnown({"asset", "guid", "name", "runSpeedHz", "isoWarning", "isoCritical", "bduWarning",
                     "bduCritical", "newData"});
        MeterPoint point;
        p.Text("asset", point.assetGuid);
        p.Text("guid", point.guid);
        p.Text("name", point.name);
        p.Number("runSpeedHz", point.runSpeedHz);
        p.Number("isoWarning", point.isoWarning);
        p.Number("isoCritical", point.isoCritical);
        p.Number("bduWarning", point.bduWarning);
        p.Number("bduCritical", point.bduCritical);
        if (p.Has("newData") && !SlotWord(p.Value("newData"), point.newData)) {
            p.Fail(QStringLiteral("\"newData\" must be a list of slots 0 to 9 or a flag word"));
        }
        state.points.push_back(point);
    }
    for (const QJsonValue& value : top.Array("readings")) {
        const QString where = QStringLiteral("reading %1").arg(state.readings.size());
        Reader r(value.toObject(), where, error);
        r.OnlyKnown({"point", "slot", "taken", "newData", "mpGuid", "mpName", "aGuid", "aName", "recipe",
                     "iso", "total", "sensitivityMvPerG", "supplyVolts", "adcBits", "header"});
        StoredReading reading;
        r.Integer("point", reading.point);
        r.Integer("slot", reading.slot);
        if (reading.point < 0 || reading.point > 1000 || reading.slot < 0 || reading.slot >= kSlotsPerPoint) {
            r.Fail(QStringLiteral("point or slot out of range"));
            break;
        }
        while (static_cast<int>(state.points.size()) <= reading.point) {
            state.points.push_back(MeterPoint{});
        }
        MeterPoint& point = state.points[static_cast<size_t>(reading.point)];
        reading.pointGuid = point.guid;
        reading.pointName = point.name;
        reading.assetGuid = point.assetGuid;
        for (const Asset& asset : state.assets) {
            if (asset.guid == point.assetGuid) {
                reading.assetName = asset.name;
            }
        }
        reading.recipe.runSpeedHz = point.runSpeedHz > 0 ? point.runSpeedHz : reading.recipe.runSpeedHz;
        reading.taken = QStringLiteral("2026-11-30T09:15:00Z");
        r.Text("taken", reading.taken);
        r.Text("mpGuid", reading.pointGuid);
        r.Text("mpName", reading.pointName);
        r.Text("aGuid", reading.assetGuid);
        r.Text("aName", reading.assetName);
        ReadRecipe(r.Object("recipe"), where + QStringLiteral(" recipe"), reading.recipe, error);
        if (r.Has("iso")) {
            ReadChannel(r.Object("iso"), where + QStringLiteral(" iso"), reading.iso, error);
        }
        if (r.Has("total")) {
            ReadChannel(r.Object("total"), where + QStringLiteral(" total"), reading.total, error);
        }
        r.Number("sensitivityMvPerG", reading.sensitivityMvPerG);
        r.Number("supplyVolts", reading.supplyVolts);
        r.Integer("adcBits", reading.adcBits);
        const QJsonObject header = r.Object("header");
        for (auto it = header.begin(); it != header.end(); ++it) {
            reading.headerOverrides[it.key()] = it.value().toVariant().toString();
        }
        bool newData = true;
        r.Flag("newData", newData);
        if (newData) {
            point.newData |= 1u << reading.slot;
        }
        state.readings.push_back(reading);
    }
    for (const QJsonValue& value : top.Array("faults")) {
        Reader f(value.toObject(), QStringLiteral("fault %1").arg(scenario.faults.size()), error);
        f.OnlyKnown({"command", "kind", "skip", "times", "bytes", "key"});
        Fault fault;
        QString kind;
        f.Text("command", fault.command);
        f.Text("kind", kind);
        f.Integer("skip", fault.skip);
        f.Integer("times", fault.times);
        f.Integer("bytes", fault.bytes);
        f.Text("key", fault.key);
        if (const auto known = FaultKindFromName(kind)) {
            fault.kind = *known;
        } else {
            f.Fail(QStringLiteral("unknown fault kind \"%1\"").arg(kind));
        }
        scenario.faults.push_back(fault);
    }
    return error.isEmpty();
}

bool LoadScenarioFile(const QString& path, Scenario& scenario, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return ParseScenario(file.readAll(), scenario, error);
}

} // namespace vantor::sim
