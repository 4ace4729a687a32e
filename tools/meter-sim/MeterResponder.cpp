#include "tools/meter-sim/MeterResponder.h"

#include "tools/meter-sim/MeterRecord.h"

#include <random>

namespace vantor::sim {
namespace {

QByteArray Latin1(const QString& text) {
    return text.toLatin1();
}

// "12,3" -> {12, 3}; false unless exactly two integers.
bool TwoIndices(const QString& argument, int& first, int& second) {
    const QStringList parts = argument.split(QLatin1Char(','));
    bool ok1 = false;
    bool ok2 = false;
    if (parts.size() == 2) {
        first = parts[0].toInt(&ok1);
        second = parts[1].toInt(&ok2);
    }
    return ok1 && ok2;
}

int LeadingDigits(const QString& text) {
    int value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || value > 100000) {
            break;
        }
        value = value * 10 + c.digitValue();
    }
    return value;
}

} // namespace

std::optional<FaultKind> FaultKindFromName(const QString& name) {
    static const std::pair<const char*, FaultKind> names[] = {
        {"error", FaultKind::Error},
        {"no-ok", FaultKind::NoOk},
        {"no-echo", FaultKind::NoEcho},
        {"silence", FaultKind::Silence},
        {"garbage", FaultKind::Garbage},
        {"short-iso", FaultKind::ShortIsoCapture},
        {"short-total", FaultKind::ShortTotalCapture},
        {"missing-header-key", FaultKind::MissingHeaderKey},
        {"unterminated-header-key", FaultKind::UnterminatedHeaderKey},
        {"hang-up", FaultKind::HangUp},
    };
    for (const auto& [text, kind] : names) {
        if (name == QLatin1String(text)) {
            return kind;
        }
    }
    return std::nullopt;
}

MeterResponder::MeterResponder(MeterState state, std::vector<Fault> faults)
    : state_(std::move(state)), faults_(std::move(faults)), faultMatches_(faults_.size(), 0) {}

QStringList MeterResponder::Commands() const {
    QStringList commands;
    for (const LogEntry& entry : log_) {
        commands << entry.command;
    }
    return commands;
}

const Fault* MeterResponder::TakeFault(const QString& keyword) {
    // Every fault counts the commands it matches, whether or not an earlier fault took this one.
    const Fault* chosen = nullptr;
    for (size_t i = 0; i < faults_.size(); ++i) {
        const Fault& fault = faults_[i];
        if (fault.command != QLatin1String("*") && fault.command != keyword) {
            continue;
        }
        const int match = faultMatches_[i]++;
        if (chosen == nullptr && match >= fault.skip &&
            (fault.times < 0 || match < fault.skip + fault.times)) {
            chosen = &fault;
        }
    }
    return chosen;
}

QString MeterResponder::FlashPage(int page) const {
    if (const auto written = writtenPages_.find(page); written != writtenPages_.end()) {
        return written->second;
    }
    const int index = page / 64 - 23;
    const MeterPoint& point = state_.points[static_cast<size_t>(index)];
    const QString field = state_.flashFieldDigits == 3 ? QString::asprintf("%03u< ", point.newData & 0x3FFu)
                                                       : QString::asprintf("%04u<", point.newData & 0x3FFu);
    QString assetName;
    for (const Asset& asset : state_.assets) {
        if (asset.guid == point.assetGuid) {
            assetName = asset.name;
        }
    }
    return QStringLiteral("MPGUID = ") + point.guid + QStringLiteral("<MPName = ") + point.name +
           QStringLiteral("<New Data = ") + field + QStringLiteral("AGUID = ") + point.assetGuid +
           QStringLiteral("<AName = ") + assetName + QStringLiteral("<RSPD = ") +
           QString::number(point.runSpeedHz, 'f', 2) + QLatin1Char('<');
}

std::optional<QByteArray> MeterResponder::Respond(const QByteArray& line, int lineBaud) {
    QByteArray clean = line;
    clean.replace('\0', QByteArray());
    const QString text = QString::fromLatin1(clean);
    LogEntry entry{text, {}};

    if (lineBaud != 0 && lineBaud != state_.lineSpeed) {
        entry.note = QStringLiteral("not understood: line at %1 baud, meter at %2")
                         .arg(lineBaud)
                         .arg(state_.lineSpeed);
        log_.push_back(entry);
        return std::nullopt;
    }
    if (!text.startsWith(QLatin1String("CMD*"))) {
        entry.note = QStringLiteral("not a command");
        log_.push_back(entry);
        return QByteArray("ERROR\r\n");
    }
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    const QString keyword = text.mid(4, equals < 0 ? -1 : equals - 4);
    const QString argument = equals < 0 ? QString() : text.mid(equals + 1);

    const Fault* fault = TakeFault(keyword);
    if (fault != nullptr) {
        switch (fault->kind) {
        case FaultKind::Silence:
            entry.note = QStringLiteral("fault: silence");
            log_.push_back(entry);
            return std::nullopt;
        case FaultKind::Error:
            entry.note = QStringLiteral("fault: ERROR");
            log_.push_back(entry);
            return Latin1(text) + "\r\nERROR\r\n";
        case FaultKind::Garbage: {
            entry.note = QStringLiteral("fault: garbage");
            log_.push_back(entry);
            std::mt19937 random(garbageSeed_++);
            QByteArray bytes;
            for (int i = 0; i < fault->bytes; ++i) {
                // Line noise, but never a character that would end a reply or spell a marker.
                bytes.append(static_cast<char>(0x80 + random() % 0x80));
            }
            return bytes;
        }
        case FaultKind::HangUp:
            entry.note = QStringLiteral("fault: hang-up after the reply");
            hungUp_ = true;
            break;
        default:
            entry.note = QStringLiteral("fault applied");
            break;
        }
    }
    log_.push_back(entry);
    if (keyword == QLatin1String("SETCOMBAUD")) {
        bool ok = false;
        const int rate = argument.toInt(&ok);
        if (ok && rate > 0) {
            state_.lineSpeed = rate; // switches at once; nothing is sent back
        }
        return std::nullopt;
    }

    const std::optional<Reply> reply = Execute(keyword, argument, clean, fault);
    if (!reply) {
        log_.back().note = QStringLiteral("refused");
        return Latin1(text) + "\r\nERROR\r\n";
    }
    const QByteArray echo = fault && fault->kind == FaultKind::NoEcho ? QByteArray() : reply->echo;
    const QByteArray ok = fault && fault->kind == FaultKind::NoOk ? QByteArray() : reply->okTail;
    return reply->okBeforeBody ? echo + ok + reply->body : echo + reply->body + ok;
}

std::optional<MeterResponder::Reply> MeterResponder::Execute(const QString& keyword, const QString& argument,
                                                             const QByteArray& line, const Fault* fault) {
    const QByteArray echoLine = line + "\r\n";
    if (keyword == QLatin1String("ATTN")) {
        return Reply{echoLine, {}};
    }
    if (keyword == QLatin1String("INFO")) {
        const QStringList fields{state_.version, state_.guid, state_.serial, state_.btAddress,
                                 QString::number(state_.number)};
        const QString info =
            QStringLiteral("INFO=") + fields.mid(0, state_.infoFields).join(QLatin1Char(','));
        return Reply{echoLine, Latin1(info) + "\r\n"};
    }
    if (keyword == QLatin1String("SCREENSET")) {
        bool ok = false;
        const int screen = argument.toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
        state_.screen = screen;
        return Reply{echoLine, {}};
    }
    if (keyword == QLatin1String("DELASST")) {
        state_.assets.clear();
        state_.points.clear();
        state_.readings.clear();
        writtenPages_.clear();
        return Reply{echoLine, {}};
    }
    if (keyword == QLatin1String("CRTASST")) {
        const qsizetype comma = argument.indexOf(QLatin1Char(','));
        if (comma <= 0) {
            return std::nullopt;
        }
        state_.assets.push_back(Asset{argument.left(comma), argument.mid(comma + 1)});
        return Reply{echoLine, {}};
    }
    if (keyword == QLatin1String("CRTMPT")) {
        // asset GUID, point GUID, name (which may itself hold commas), five numbers
        QStringList parts = argument.split(QLatin1Char(','));
        if (parts.size() < 8) {
            return std::nullopt;
        }
        MeterPoint point;
        point.assetGuid = parts.takeFirst();
        point.guid = parts.takeFirst();
        double numbers[5];
        for (int i = 4; i >= 0; --i) {
            bool ok = false;
            numbers[i] = parts.takeLast().toDouble(&ok);
            if (!ok) {
                return std::nullopt;
            }
        }
        point.name = parts.join(QLatin1Char(','));
        point.runSpeedHz = numbers[0];
        point.isoWarning = numbers[1];
        point.isoCritical = numbers[2];
        point.bduWarning = numbers[3];
        point.bduCritical = numbers[4];
        bool assetKnown = false;
        for (const Asset& asset : state_.assets) {
            assetKnown = assetKnown || asset.guid == point.assetGuid;
        }
        if (!assetKnown) {
            return std::nullopt;
        }
        state_.points.push_back(point);
        return Reply{echoLine, {}};
    }
    if (keyword == QLatin1String("GETNEWDATA")) {
        // The flag bytes follow the echo's "=" directly: no carriage return may come before it.
        QByteArray payload;
        for (const MeterPoint& point : state_.points) {
            payload.append(static_cast<char>(point.newData & 0xFFu));
            payload.append(static_cast<char>((point.newData >> 8) & 0x03u));
        }
        return Reply{line + "=", payload + "\r\n"};
    }
    if (keyword == QLatin1String("GETMP")) {
        int point = 0;
        int slot = 0;
        const StoredReading* reading =
            TwoIndices(argument, point, slot) ? state_.FindReading(point, slot) : nullptr;
        if (reading == nullptr) {
            return std::nullopt;
        }
        RecordDamage damage;
        if (fault != nullptr) {
            switch (fault->kind) {
            case FaultKind::ShortIsoCapture:
                damage.isoBytesMissing = fault->bytes;
                break;
            case FaultKind::ShortTotalCapture:
                damage.totalBytesMissing = fault->bytes;
                break;
            case FaultKind::MissingHeaderKey:
                damage.omittedKey = fault->key + QStringLiteral(" = ");
                break;
            case FaultKind::UnterminatedHeaderKey:
                damage.unterminatedKey = fault->key + QStringLiteral(" = ");
                break;
            default:
                break;
            }
        }
        Reply reply{echoLine,
                    MeasurementPointRecord(*reading, state_.flashRevision, state_.totalCaptureFirst, damage)};
        reply.okBeforeBody = true;
        return reply;
    }
    if (keyword == QLatin1String("CLRNEWDATAFLAG")) {
        int point = 0;
        int slot = 0;
        // Meters of version 1.0 and below keep their flags in flash and do not know this command.
        if (state_.version.toDouble() <= 1.0) {
            return std::nullopt;
        }
        if (!TwoIndices(argument, point, slot) || point < 0 ||
            point >= static_cast<int>(state_.points.size()) || slot < 0 || slot >= kSlotsPerPoint) {
            return std::nullopt;
        }
        state_.points[static_cast<size_t>(point)].newData &= ~(1u << slot);
        writtenPages_.erase((point + 23) * 64);
        return Reply{echoLine, {}};
    }
    if (keyword == QLatin1String("FLASHPR") || keyword == QLatin1String("FLASHPP")) {
        const qsizetype comma = argument.indexOf(QLatin1Char(','));
        bool ok = false;
        const int page = (keyword == QLatin1String("FLASHPR") ? argument : argument.left(comma)).toInt(&ok);
        const int index = page / 64 - 23;
        if (!ok || page % 64 != 0 || index < 0 || index >= static_cast<int>(state_.points.size())) {
            return std::nullopt;
        }
        if (keyword == QLatin1String("FLASHPR")) {
            // The page follows the echo and a comma; the reply ends with "\r\nOK\r\n".
            Reply reply{line + ",", Latin1(FlashPage(page))};
            reply.okTail = "\r\nOK\r\n";
            return reply;
        }
        if (comma < 0) {
            return std::nullopt;
        }
        const QString page_text = argument.mid(comma + 1);
        const QString key = QStringLiteral("New Data = ");
        const qsizetype at = page_text.indexOf(key);
        if (at < 0) {
            return std::nullopt;
        }
        state_.points[static_cast<size_t>(index)].newData =
            static_cast<unsigned>(LeadingDigits(page_text.mid(at + key.size()))) & 0x3FFu;
        writtenPages_[page] = page_text;
        return Reply{Latin1(QStringLiteral("CMD*FLASHPP=%1\r\n").arg(page)), {}};
    }
    if (keyword == QLatin1String("SETTANDD")) {
        if (!argument.endsWith(QLatin1String("<CR>"))) {
            return std::nullopt;
        }
        const QDateTime clock =
            QDateTime::fromString(argument.chopped(4), QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
        if (!clock.isValid()) {
            return std::nullopt;
        }
        state_.clock = clock;
        return Reply{echoLine, {}};
    }
    return std::nullopt;
}

const StoredReading* MeterState::FindReading(int point, int slot) const {
    for (const StoredReading& reading : readings) {
        if (reading.point == point && reading.slot == slot) {
            return &reading;
        }
    }
    return nullptr;
}

} // namespace vantor::sim
