#pragma once
// Result codes of the meter commands: 0 is success, every failure has its own negative code. The
// synchronisation run shows unexpected codes to the user, so they are observable behaviour.

namespace vantor {

// The four failures every exchange can have: the command was not written completely, the reply
// contains "ERROR", lacks "OK", or lacks the echo of the command.
struct ExchangeCodes {
    int notWritten;
    int error;
    int noOk;
    int noEcho;
};

namespace meter_code {
inline constexpr ExchangeCodes kAttention{-2, -3, -4, -5};
inline constexpr ExchangeCodes kGetInfo{-6, -7, -8, -9};
inline constexpr int kInfoNoEquals = -10;
inline constexpr int kInfoNoComma1 = -11; // -12, -13, -14 for the second to fourth comma
inline constexpr int kInfoNoCarriageReturn = -15;
inline constexpr ExchangeCodes kSetScreen{-16, -17, -18, -19};
inline constexpr ExchangeCodes kDeleteAssets{-20, -21, -22, -23};
inline constexpr ExchangeCodes kCreateAsset{-24, -25, -26, -27};
inline constexpr ExchangeCodes kCreateMeasurementPoint{-28, -29, -30, -31};
inline constexpr ExchangeCodes kGetNewData{-32, -33, -34, -35};
inline constexpr ExchangeCodes kClearNewDataFlag{-111, -112, -113, -114};
inline constexpr ExchangeCodes kFlashRead{-115, -116, -117, -118};
inline constexpr int kFlashNoNewData = -119;
inline constexpr int kFlashNoAssetGuid = -120;
inline constexpr int kFlashFieldNotFive = -121;
inline constexpr int kFlashWriteNotWritten = -122;
inline constexpr int kFlashWriteError = -123;
inline constexpr int kFlashWriteNoOk = -124;
inline constexpr int kClockInvalid = -125;
inline constexpr ExchangeCodes kSetTimeAndDate{-126, -127, -128, -129};

// The measurement-point upload.
inline constexpr int kGetMpNotWritten = -36;
// A reply containing "ERROR": the meter could not give the reading. Treated as a failure so the
// slot keeps its new-data flag and the reading is offered again.
inline constexpr int kGetMpError = -37;
inline constexpr int kGetMpNoOk = -38;
inline constexpr int kGetMpNoEcho = -39;
inline constexpr int kGetMpIsoCaptureSize = -40;
inline constexpr int kGetMpTotalCaptureSize = -41;
inline constexpr int kGetMpNoHeader = -42;
inline constexpr int kGetMpDateCancelled = -73;
} // namespace meter_code

// Results of finding the meter besides 0.
inline constexpr int kNoCradleFound = -1009;
inline constexpr int kNoMeterFound = -1010;

// Results of the synchronisation run besides those of the meter commands.
inline constexpr int kDatabaseUnavailable = -1011; // the run's database cannot be opened or failed
inline constexpr int kMeterTooNew = -1012;         // the meter's version is above the highest accepted
// The reading could not be written to the database; nothing of it is kept and the slot keeps its
// new-data flag.
inline constexpr int kReadingNotStored = -1013;
inline constexpr int kSyncAborted = -1014; // the run was aborted by the user
// A machine or point of the route cannot be written into a meter command (a control character or
// a comma in its meter name, a malformed GUID, a number that is not finite); nothing was sent.
inline constexpr int kCommandTextRefused = -1015;

} // namespace vantor
