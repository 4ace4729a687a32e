#include "device/SyncWorker.h"

#include "device/Log.h"
#include "device/MeasurementPointRecord.h"
#include "device/MeterCommands.h"
#include "device/ReadingUpload.h"
#include "device/RouteDownload.h"
#include "platform/ManualResetEvent.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "store/SqlConnection.h"
#include "store/Validation.h"
#include "texts/UiText.h"

namespace vantor {
namespace {

// The meter answered; its identity is not in the meter list yet.
constexpr int kNewMeter = 1;

QString Dots(int label) {
    return UiText(label) + QStringLiteral("...");
}

// One run: the worker's state sequence with its locals.
class SyncRun {
public:
    SyncRun(const SyncSettings& settings, Prompter& prompter, ManualResetEvent& abort,
            const std::function<void(const QString&)>& progress, const std::function<void(int, int)>& step)
        : settings_(settings), prompter_(prompter), abort_(abort), progress_(progress), step_(step),
          link_(&prompter, settings.linkTimings), main_(settings.store), sync_(settings.store) {
        if (!settings.port.isEmpty()) {
            link_.UsePort(settings.port);
        }
        if (settings.portLister) {
            link_.SetPortLister(settings.portLister);
        }
    }

    SyncOutcome Execute() {
        if (settings_.clearExceptions) {
            settings_.clearExceptions();
        }
        int result = OpenDatabase();
        if (result == 0) {
            // A database failure deep in a step (a listing of the route download, a lookup) ends
            // the run with its message; nothing may escape the worker's thread.
            try {
                result = Steps();
            } catch (const DatabaseError& error) {
                qCWarning(lcSync, "database failure during the run: %s", error.what());
                result = kDatabaseUnavailable;
            }
        }
        return End(result);
    }

private:
    // The step's result, or the abort code when the user asked to stop meanwhile.
    int Tested(int result) const { return abort_.IsSet() ? kSyncAborted : result; }

    void Progress(const QString& text) const {
        if (progress_) {
            progress_(text);
        }
    }

    int OpenDatabase() {
        try {
            if (!sync_.Open() || !main_.Open()) {
                qCWarning(lcSync) << "the synchronisation's database connections could not be opened";
                return kDatabaseUnavailable;
            }
        } catch (const DatabaseError& error) {
            qCWarning(lcSync) << "opening the synchronisation's database failed:" << error.what();
            return kDatabaseUnavailable;
        }
        return 0;
    }

    int Steps() {
        if (const int found = Identify()) {
            return found;
        }
        Progress(UiText(text::DeviceFoundCheckingVersion));
        if (abort_.IsSet()) {
            return kSyncAborted;
        }
        meterVersion_ = HeaderReal(version_);
        if (meterVersion_ > settings_.maxDeviceVersion) {
            return kMeterTooNew;
        }
        if (const int screen = Tested(SetScreen(link_, 0))) {
            return screen;
        }
        if (const int clock = Tested(SetTimeAndDate(link_, prompter_, settings_.now()))) {
            return clock;
        }
        Progress(UiText(text::CheckingForNewData));
        NewDataFlags flags;
        int count = 0;
        if (const int read = Tested(GetNewData(link_, flags, count))) {
            return read;
        }
        if (const int upload = Upload(flags, count)) {
            return upload;
        }
        if (!settings_.fromMeter) {
            RouteDownloadSettings route{settings_.routeGuid, settings_.offRouteAssetGuid,
                                        settings_.offRoutePointGuids, UiText(text::OffRoute)};
            // A route the meter's commands cannot carry is refused before the meter is cleared:
            // the meter keeps the route it had and receives nothing of this one.
            if (auto problem = RouteCommandProblem(main_, route)) {
                qCWarning(lcSync, "%s", qUtf8Printable(*problem));
                refusal_ = *problem;
                return kCommandTextRefused;
            }
            Progress(UiText(text::ClearingDevice));
            if (const int cleared = Tested(DeleteAssets(link_))) {
                return cleared;
            }
            if (const int downloaded = DownloadRoute(
                    link_, main_, route, [this](const QString& text) { Progress(text); },
                    [this] { return abort_.IsSet(); }, step_)) {
                return downloaded;
            }
        }
        return Tested(SetScreen(link_, 1));
    }

    // Finds the meter and makes sure it is in the meter list.
    int Identify() {
        for (;;) {
            Progress(Dots(text::CheckingForDevice));
            int number = 0;
            int result = link_.FindMeter(device_, version_, number);
            if (result == 0) {
                result = LookUpMeter();
            }
            result = Tested(result);
            switch (result) {
            case 0:
                return 0;
            case kNewMeter:
                return NameNewMeter();
            case kNoCradleFound:
            case kNoMeterFound:
                if (prompter_.AskRetryCancel(
                        UiText(result == kNoCradleFound ? text::NoCradleDetected : text::NoDeviceDetected))) {
                    continue;
                }
                return result;
            default:
                return result;
            }
        }
    }

    int LookUpMeter() {
        CDevice known;
        try {
            if (!sync_.GetDevice(device_.sItemGUID, known)) {
                return kNewMeter;
            }
        } catch (const DatabaseError& error) {
            qCWarning(lcSync) << "looking up meter" << device_.sItemGUID << "failed:" << error.what();
            return kDatabaseUnavailable;
        }
        device_ = known;
        return 0;
    }

    int NameNewMeter() {
        Progress(UiText(text::NewDeviceFound));
        NameRequest request{UiText(text::NewDeviceFound), QString(), QString(), 0};
        for (;; ++request.attempt) {
            const std::optional<QString> name = prompter_.PromptName(request);
            if (!name) {
                return kSyncAborted;
            }
            const std::optional<QString> refused = CheckPromptedName(*name);
            if (!refused) {
                device_.sName = *name;
                break;
            }
            prompter_.ShowMessage(*refused);
        }
        try {
            device_.fOrder = static_cast<float>(sync_.ListDevices().size());
            if (!sync_.UpsertDevice(device_)) {
                qCWarning(lcSync) << "meter" << device_.sItemGUID << "could not be stored";
                return kReadingNotStored;
            }
        } catch (const DatabaseError& error) {
            qCWarning(lcSync) << "storing meter" << device_.sItemGUID << "failed:" << error.what();
            return kReadingNotStored;
        }
        return Tested(0);
    }

    int Upload(const NewDataFlags& flags, int count) {
        if (count == 0) {
            Progress(UiText(text::NoReadingsToUpload));
            return 0;
        }
        Progress(CountText(count, text::ReadingToUpload, text::ReadingsToUpload));
        if (abort_.Wait(settings_.announcePause)) {
            return kSyncAborted;
        }
        ReadingUploadContext context{
            main_,
            sync_,
            prompter_,
            settings_.offRouteAssetGuid,
            settings_.collectException,
            [this](const QString& note) { runSpeedNotes_ << note; },
            [this](CMainConnection& main, const CVib& point, const CVibReading& reading) {
                if (!measured_.contains(point.sItemGUID)) {
                    measured_ << point.sItemGUID;
                }
                if (settings_.readingStored) {
                    settings_.readingStored(main, point, reading);
                }
            }};
        int n = 1;
        for (size_t point = 0; point < flags.size(); ++point) {
            for (int slot = 0; slot < kSlotsPerMeterPoint; ++slot) {
                if (!flags[point][static_cast<size_t>(slot)]) {
                    continue;
                }
                Progress(QStringLiteral("%1: %2 %3 %4")
                             .arg(UiText(text::UploadingReading))
                             .arg(n)
                             .arg(UiText(text::Of))
                             .arg(count));
                const int meterPoint = static_cast<int>(point);
                const int fetched = GetMeasurementPoint(link_, meterPoint, slot, device_, context);
                if (fetched == 0) {
                    // A stored reading has its flag cleared even when an abort came meanwhile, so
                    // that the next run does not offer it again.
                    const int cleared =
                        Tested(meterVersion_ > 1.0 ? ClearNewDataFlag(link_, meterPoint, slot)
                                                   : ClearNewDataFlagInFlash(link_, meterPoint, slot));
                    if (cleared == 0 || cleared == kSyncAborted) {
                        ++uploaded_;
                    }
                    if (cleared != 0) {
                        return cleared;
                    }
                } else if (fetched != meter_code::kGetMpDateCancelled) {
                    return Tested(fetched);
                }
                if (abort_.IsSet()) {
                    return kSyncAborted;
                }
                ++n;
            }
        }
        Progress(CountText(uploaded_, text::ReadingUploaded, text::ReadingsUploaded));
        return 0;
    }

    SyncOutcome End(int result) {
        if (result == kSyncAborted && link_.IsOpen()) {
            SetScreen(link_, 1);
        }
        SyncOutcome outcome;
        outcome.result = result;
        outcome.uploaded = uploaded_;
        outcome.deviceName = device_.sName;
        outcome.runSpeedNotes = runSpeedNotes_;
        for (const QString& note : runSpeedNotes_) {
            Progress(note);
        }
        outcome.measuredPoints = measured_;
        outcome.finalText = UiText(result != 0 ? text::SyncAborted : text::SyncCompleted);
        Progress(outcome.finalText);
        sync_.Close();
        main_.Close();
        link_.Close();
        if (result == kCommandTextRefused) {
            outcome.message =
                refusal_.isEmpty()
                    ? QStringLiteral("%1 (%2)").arg(UiText(text::ConnectionErrorTryAgain)).arg(result)
                    : refusal_;
        } else if (result == kMeterTooNew) {
            outcome.message =
                QStringLiteral("%1 %2").arg(UiText(text::VersionMismatch), settings_.editionTitle);
        } else if (result != 0 && result != kSyncAborted && result != kNoMeterFound &&
                   result != kNoCradleFound) {
            outcome.message =
                QStringLiteral("%1 (%2)").arg(UiText(text::ConnectionErrorTryAgain)).arg(result);
        }
        if (!outcome.message.isEmpty()) {
            prompter_.ShowMessage(outcome.message);
        }
        return outcome;
    }

    const SyncSettings& settings_;
    Prompter& prompter_;
    ManualResetEvent& abort_;
    const std::function<void(const QString&)>& progress_;
    const std::function<void(int, int)>& step_;
    CMeterLink link_;
    CMainConnection main_;
    CRecordSyncConnection sync_;
    CDevice device_;
    QString version_;
    double meterVersion_ = 0;
    int uploaded_ = 0;
    QStringList runSpeedNotes_; // readings stored without the meter's out-of-range run speed
    QStringList measured_;      // route points readings were stored under
    QString refusal_;           // why the route could not be sent
};

} // namespace

QString CountText(int count, int singular, int plural) {
    return QStringLiteral("%1 %2").arg(count).arg(UiText(count == 1 ? singular : plural));
}

SyncWorker::SyncWorker(SyncSettings settings, Prompter& prompter, ManualResetEvent& abortEvent,
                       ManualResetEvent& doneEvent)
    : settings_(std::move(settings)), prompter_(prompter), abort_(abortEvent), done_(doneEvent) {}

SyncWorker::~SyncWorker() {
    Join();
}

void SyncWorker::Start() {
    Join();
    done_.Reset();
    thread_ = std::thread([this] { Run(); });
}

void SyncWorker::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

SyncOutcome SyncWorker::Run() {
    done_.Reset();
    {
        SyncRun run(settings_, prompter_, abort_, onProgress_, onStep_);
        outcome_ = run.Execute();
    }
    if (onFinished_) {
        onFinished_(outcome_);
    }
    done_.Set();
    return outcome_;
}

} // namespace vantor
