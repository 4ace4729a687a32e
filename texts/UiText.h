#pragma once
// The UI text table: every text the system shows, addressed by index. It starts with the English
// defaults; language packs replace its contents as a whole.

#include <QString>
#include <QStringList>

namespace vantor {

inline constexpr int UiTextCount = 395;

// The texts this system adds after the documented table, from index UiTextCount on (their indices
// are in text::added). A language pack of UiTextCount texts leaves them English; a table of
// UiTextAllCount texts translates them too.
inline constexpr int UiTextAddedCount = 336;
inline constexpr int UiTextAllCount = UiTextCount + UiTextAddedCount;

// The current text of an entry; empty for an index outside 0..UiTextAllCount-1.
QString UiText(int index);

// The built-in English default of an entry; empty for an index outside the table.
QString EnglishDefaultText(int index);

// The process-wide table behind UiText. Safe to read from any thread while no language change
// is in progress on another.
class UiTextTable {
public:
    // Fills every entry with its English default.
    static void ResetToDefaults();
    // Replaces the documented table and as many of the added texts as the list holds (from
    // UiTextCount to UiTextAllCount texts; the added ones it does not reach return to English, so a
    // pack written before later texts were added still loads); refused (false, table unchanged) for
    // any other count.
    static bool Replace(const QStringList& texts);
    // Entry 9 becomes "Language"; in entries 10 and 11 the product name "Vantor" becomes the
    // edition title. Run after every fill of the table.
    static void ApplyEditionTitle(const QString& title);
    // The documented table's current texts (UiTextCount of them).
    static QStringList Snapshot();
};

// Indices of the entries the code refers to by meaning.
namespace text {
inline constexpr int Ok = 0;
inline constexpr int Cancel = 1;
inline constexpr int Yes = 2;
inline constexpr int No = 3;
inline constexpr int Retry = 5;
inline constexpr int Language = 9;
inline constexpr int AboutProduct = 10;
inline constexpr int NoDatabaseFound = 11;
inline constexpr int FileMenu = 37;
inline constexpr int ImportMenu = 43;
inline constexpr int ExportMenu = 44;
inline constexpr int HelpMenu = 42;
inline constexpr int Exit = 140;
inline constexpr int LocalDatabase = 218;
inline constexpr int RemoteDatabase = 219;
inline constexpr int ExportToLocalDb = 220;
inline constexpr int ExportToRemoteDb = 221;
inline constexpr int RemoteDatabaseInUse = 227;
inline constexpr int UnableToMakeRemoteConnection = 228;
inline constexpr int RemoteConnectionLost = 229;
inline constexpr int UserLabel = 230;
inline constexpr int NoUsersFound = 231;
inline constexpr int SwitchingToLocal = 234;
inline constexpr int SwitchingToRemote = 235;
inline constexpr int SelectCommand = 236;
inline constexpr int CreateCommand = 237;
inline constexpr int CantSelectLocalPath = 238;
inline constexpr int CantCreateInLocalPath = 239;
inline constexpr int ChooseRemoteLocation = 241;
inline constexpr int FolderWillBeCreated = 242;
inline constexpr int FullPathIsTherefore = 243;
inline constexpr int IsThisCorrect = 244;
inline constexpr int NoEmptyDbToCopy = 245;
inline constexpr int SelectRemoteFolder = 249;
inline constexpr int ConnectionMenu = 232;
inline constexpr int RemoteFolderName = 247;
inline constexpr int FolderHasNoDatabase = 250;
inline constexpr int UnitHz = 60;
inline constexpr int UnitRpm = 61;
inline constexpr int UnitCpm = 62;
inline constexpr int UnitMmPerSecond = 63;
inline constexpr int UnitInchPerSecond = 64;
inline constexpr int PleaseInputName = 100;
inline constexpr int PleaseInputMeterName = 101;
inline constexpr int NameForbiddenCharacters = 102;
inline constexpr int MeterNameForbiddenCharacters = 103;
inline constexpr int NameMaxLength50 = 104;
inline constexpr int MeterNameMaxLength14 = 105;
inline constexpr int RunSpeedMustBePositive = 118;
inline constexpr int ValueMustBePositive = 119;
inline constexpr int CriticalMustExceedWarning = 120;
inline constexpr int StatusNoReadings = 127; // 127..132: the status codes 0..5 in order
inline constexpr int StatusNotConfigured = 128;
inline constexpr int StatusInvalidData = 129;
inline constexpr int StatusOk = 130;
inline constexpr int StatusWarning = 131;
inline constexpr int StatusCritical = 132;
inline constexpr int StatusAsValues = 136;
inline constexpr int UnitMicrometre = 156;
inline constexpr int UnitThou = 157;
inline constexpr int ImportDataTitle = 203;
inline constexpr int ImportReplaceQuestion = 204;
inline constexpr int ErrorImportingData = 206;
inline constexpr int ExportDataTitle = 207;
inline constexpr int ErrorExportingData = 208;
inline constexpr int SectionMachines = 210;
inline constexpr int SectionVibs = 211;
inline constexpr int SectionVibReadings = 212;
inline constexpr int SectionRoutes = 215;
inline constexpr int SectionRouteItems = 216;
inline constexpr int Enumerating = 217;
inline constexpr int FiveAddressesMax = 261;
inline constexpr int PointsPerMachineMax = 264;
inline constexpr int MachinesPerRouteMax = 270;
inline constexpr int NamePromptForbiddenCharacters = 327;
inline constexpr int ConnectionErrorTryAgain = 307;
inline constexpr int NoDeviceDetected = 311;
inline constexpr int NoCradleDetected = 347;
inline constexpr int LocalClockInvalid = 383;
// Route selection, off-route readings and meter names.
inline constexpr int SetupMenu = 38;
inline constexpr int EditCommand = 91;
inline constexpr int DeleteCommand = 93;
inline constexpr int AreYouSureDelete = 107;
inline constexpr int TotalLabel = 121;
inline constexpr int DisplacementLabel = 137;
inline constexpr int OrderColumn = 141;
inline constexpr int ErrorLoadingRecord = 143;
inline constexpr int ErrorSavingRecord = 144;
inline constexpr int PleaseMakeSelection = 145;
inline constexpr int DeleteVibReadingQuestion = 149;
inline constexpr int DeviceNameColumn = 266;
inline constexpr int DeviceSerialColumn = 267;
inline constexpr int DeviceNamesTitle = 268;
inline constexpr int MoveTo = 269;
inline constexpr int OffRouteReadingsTitle = 301;
inline constexpr int SelectRouteTitle = 303;
inline constexpr int SelectVibPointTitle = 305;
inline constexpr int NameLabel = 326;
inline constexpr int RouteWithoutMachines = 358;
inline constexpr int ListOfRoutes = 384;
inline constexpr int RouteManagerTitle = 138;
inline constexpr int NewRoute = 139;
inline constexpr int RouteMachineWithoutPoints = 392;
// The catalogue editors.
inline constexpr int DeleteMachineWarning = 106;
inline constexpr int DeleteVibPointWarning = 108;
inline constexpr int DeleteLubePointWarning = 109;
inline constexpr int MachineAlreadyInRoute = 146;
inline constexpr int EmailAddressInvalid = 263;
inline constexpr int MachineWithoutVibPoints = 393;
// The exception e-mail.
inline constexpr int MailAccessDenied = 46;
inline constexpr int MailClientUnavailable = 89;
inline constexpr int IsoLabel = 115;
inline constexpr int BearingNoiseLabel = 117;
inline constexpr int MachineName = 142;
inline constexpr int ExceptionReport = 280;
inline constexpr int VibPointName = 296;
inline constexpr int CantSaveExceptionFile = 349;
inline constexpr int MailIntegrityLevel = 350;
inline constexpr int CantCreateMailMessage = 351;
inline constexpr int CreatingExceptionEmail = 352;
inline constexpr int OpeningMailClient = 353;
inline constexpr int CreatingEmail = 354;
// The synchronisation run, its date correction and route download.
inline constexpr int Abort = 4;
inline constexpr int ToMeter = 39;
inline constexpr int FromMeter = 40;
inline constexpr int Update = 94;
inline constexpr int DateTime = 125;
inline constexpr int Of = 295;
inline constexpr int Aborting = 306;
inline constexpr int CheckingForDevice = 308;
inline constexpr int NewDeviceFound = 309;
inline constexpr int DeviceFoundCheckingVersion = 310;
inline constexpr int VersionMismatch = 312;
inline constexpr int NoReadingsToUpload = 313;
inline constexpr int ReadingToUpload = 314;
inline constexpr int ReadingsToUpload = 315;
inline constexpr int ReadingUploaded = 316;
inline constexpr int ReadingsUploaded = 317;
inline constexpr int ClearingDevice = 318;
inline constexpr int CreatingRouteData = 319;
inline constexpr int CheckingForNewData = 321;
inline constexpr int CreatingMachine = 322;
inline constexpr int CreatingVibPoint = 323;
inline constexpr int SyncCompleted = 324;
inline constexpr int OffRoute = 325;
inline constexpr int MachineLabel = 331;
inline constexpr int VibPointLabel = 332;
inline constexpr int UploadingReading = 333;
inline constexpr int SyncAborted = 334;
inline constexpr int InvalidDateTime = 380;
inline constexpr int ReadingDateProblem = 381;
inline constexpr int InputCorrectDate = 382;
// The editor dialogs and the settings dialogs.
inline constexpr int XAxisUnitsLabel = 30;
inline constexpr int YAxisUnitsLabel = 31;
inline constexpr int FftBarLine = 32;
inline constexpr int UnitsTitle = 45;
inline constexpr int FftDisplayTitle = 47;
inline constexpr int VaBandNamesTitle = 48;
inline constexpr int MachineStatusTitle = 49;
inline constexpr int EmailExceptionsOnUpload = 50;
inline constexpr int IsoStandards = 53;
inline constexpr int XAxis = 58;
inline constexpr int YAxis = 59;
inline constexpr int DecimalPlaces = 65;
inline constexpr int PleaseInputValue = 66;
inline constexpr int PleaseInputNumber = 67;
inline constexpr int Bar = 74;
inline constexpr int Line = 75;
inline constexpr int VarovudOvo = 76;
inline constexpr int On = 77;
inline constexpr int Off = 78;
inline constexpr int VaBandDescriptions = 79;
inline constexpr int Band1 = 80; // 80, 82, 84, 86: the labels of bands 1 to 4
inline constexpr int MaxLength25 = 88;
inline constexpr int AddCommand = 90;
inline constexpr int InsertCommand = 92;
inline constexpr int MachineSetupTitle = 95;
inline constexpr int VibPointSetupTitle = 96;
inline constexpr int MachineManagerTitle = 97;
inline constexpr int NameField = 98;
inline constexpr int MeterNameField = 99;
inline constexpr int RunSpeedLabel = 110;
inline constexpr int Enabled = 111;
inline constexpr int WarningLabel = 112;
inline constexpr int CriticalLabel = 113;
inline constexpr int IsoAlarms = 114;
inline constexpr int BearingAlarms = 116;
inline constexpr int VibPoints = 123;
inline constexpr int LubePoints = 124;
inline constexpr int SelectStatusColumns = 135;
inline constexpr int ExceptionAddressesTitle = 260;
inline constexpr int EmailAddressLabel = 262;
inline constexpr int SelectMachine = 304;
inline constexpr int MaxThreeSelections = 346;
inline constexpr int RemoveSelectedFromList = 355;
inline constexpr int RemoveAllFromList = 356;
inline constexpr int SameAsName = 357;
inline constexpr int RunSpeedTip = 372;
inline constexpr int RightClickListTip = 385;
inline constexpr int MachinesOfRoute = 386;
inline constexpr int RouteLabel = 387;
// The Help menu.
inline constexpr int UserGuide = 51;
inline constexpr int SoftwareVersion = 56;
inline constexpr int UserGuideNotInstalled = 394;
} // namespace text

// The texts added after the documented table.
namespace text::added {
inline constexpr int First = UiTextCount;
// The catalogue spreadsheet import's refusals and summary.
inline constexpr int CatalogueAtLine = First + 0;         // "line %1: %2"
inline constexpr int CatalogueNoHeader = First + 1;       // "the file has no header row"
inline constexpr int CatalogueUnknownColumn = First + 2;  // "unknown column \"%1\""
inline constexpr int CatalogueColumnTwice = First + 3;    // "column \"%1\" appears twice"
inline constexpr int CatalogueMissingColumn = First + 4;  // "the header has no column \"%1\""
inline constexpr int CatalogueBadMachineGuid = First + 5; // "Machine GUID is not a GUID"
inline constexpr int CatalogueMachineRenamed = First + 6; // "the machine has other names on line %1"
inline constexpr int CatalogueMachinesNamed = First + 7;  // "%1 machines are named \"%2\"; ..."
inline constexpr int CatalogueBadPointGuid = First + 8;   // "Point GUID is not a GUID"
inline constexpr int CataloguePointElsewhere = First + 9; // "the point with this GUID belongs to ..."
inline constexpr int CatalogueSamePoint = First + 10;     // "the same point is on line %1"
inline constexpr int CataloguePointsNamed = First + 11;   // "%1 points are named \"%2\"; ..."
inline constexpr int CatalogueFlag = First + 12;          // "%1 must be 1 or 0"
inline constexpr int CatalogueKind = First + 13;          // "Kind must be vib or lube"
inline constexpr int CataloguePointKind = First + 14;     // "a point needs its Kind, vib or lube"
inline constexpr int CatalogueSummary = First + 15;       // "Machines: %1 new, %2 updated; ..."
// The desktop's menus, dialogs and messages.
inline constexpr int ImportCatalogue = First + 16;      // "Import Catalogue"
inline constexpr int ExportCatalogue = First + 17;      // "Export Catalogue"
inline constexpr int SaveReportAs = First + 18;         // "Save Report As"
inline constexpr int PdfDocument = First + 19;          // "PDF document"
inline constexpr int OdtDocument = First + 20;          // "ODT document (word processor)"
inline constexpr int FileLabel = First + 21;            // "File"
inline constexpr int Browse = First + 22;               // "Browse..."
inline constexpr int ReportWrittenTo = First + 23;      // "The report was written to:\n%1"
inline constexpr int Open = First + 24;                 // "Open"
inline constexpr int ShowInFolder = First + 25;         // "Show in Folder"
inline constexpr int NoProgramOpensReport = First + 26; // "No program on this computer opens ..."
inline constexpr int MeterPort = First + 27;            // "Meter Port"
inline constexpr int MeterPortAutomatic = First + 28;   // "Automatic (find the cradle)"
inline constexpr int MeterPortHint = First + 29;        // "Choose a port from the list, or type ..."
inline constexpr int RouteSent = First + 30;            // "Route %1: %2 machines, %3 points sent to %4"
inline constexpr int StepOfSteps = First + 31;          // "%1 of %2"
inline constexpr int Synchronising = First + 32;        // "Synchronising..."
inline constexpr int VarovudOvoHelp = First + 33;       // "On: the leakage around each spectral peak ..."
inline constexpr int FirstStartHint = First + 34;       // "This database has no machines yet. ..."
inline constexpr int TryThisPort = First + 35;          // "Try This Port"
inline constexpr int SaveReportPageHint = First + 36;   // "Report type, machines, ... now choose ..."
// The Set-up menu's mail server entry, the user guide and the About box.
inline constexpr int MailServer = First + 37;     // "Mail Server"
inline constexpr int GuideNotOpened = First + 38; // "No program could open the User Guide ... %1"
inline constexpr int AboutBuilt = First + 39;     // "Built"
inline constexpr int AboutLibraries = First + 40; // "Libraries and their licences"
inline constexpr int AboutGuide = First + 41;     // "The User Guide is in %1"
// The findings of the automatic diagnosis and the reasons of the alarms beside the documented ones.
inline constexpr int Findings = First + 42;      // "Findings"
inline constexpr int FindingColumn = First + 43; // "Finding"
inline constexpr int Severity = First + 44;      // "Severity"
inline constexpr int Confidence = First + 45;    // "Confidence"
inline constexpr int Evidence = First + 46;      // "Evidence"
inline constexpr int Unbalance = First + 47;     // "Unbalance"
inline constexpr int Misalignment = First + 48;  // "Misalignment"
inline constexpr int Looseness = First + 49;     // "Mechanical looseness"
inline constexpr int BearingDefect = First + 50; // "Bearing defect"
inline constexpr int Impacting = First + 51;     // "Impacting"
inline constexpr int NoFinding = First + 52;     // "No finding"
inline constexpr int Envelope = First + 53;      // "Envelope"
inline constexpr int EvidenceClickHint =
    First + 54; // "Click an evidence line to put the spectrum cursor on it."
inline constexpr int StatisticalAlarm = First + 55; // "Statistical alarm: %1"
inline constexpr int ChangeAlarm = First + 56;      // "Change alarm: %1"
inline constexpr int BandAlarm = First + 57;        // "Band alarm: %1"
inline constexpr int LatestFindings = First + 58;   // "Findings of the latest readings"
// The kinds of finding in the order of FindingKind, from Unbalance.
inline constexpr int FirstFindingKind = Unbalance;
// The bearing library, the point set-up's bearings and the fault families on the spectra.
inline constexpr int Bearings = First + 59;            // "Bearings"
inline constexpr int SearchByDesignation = First + 60; // "Search by designation"
inline constexpr int Designation = First + 61;         // "Designation"
inline constexpr int Maker = First + 62;               // "Maker"
inline constexpr int Source = First + 63;              // "Source"
inline constexpr int ImportBearings = First + 64;      // "Import Bearings"
inline constexpr int ExportBearings = First + 65;      // "Export Bearings"
inline constexpr int NewBearing = First + 66;          // "New Bearing"
inline constexpr int Bearing = First + 67;             // "Bearing"
inline constexpr int DescribedBy = First + 68;         // "Described by"
inline constexpr int Geometry = First + 69;            // "Geometry"
inline constexpr int MakersFactors = First + 70;       // "Maker's factors"
inline constexpr int RollingElements = First + 71;     // "Rolling elements Z"
inline constexpr int ElementDiameter = First + 72;     // "Element diameter d (mm)"
inline constexpr int PitchDiameter = First + 73;       // "Pitch diameter D (mm)"
inline constexpr int ContactAngle = First + 74;        // "Contact angle (deg)"
inline constexpr int TimesRunSpeed = First + 75;       // "%1 (x run speed)"
inline constexpr int SourceOfFigures = First + 76;     // "Source of the figures"
inline constexpr int Factors = First + 77;             // "Factors"
inline constexpr int Location = First + 78;            // "Location"
inline constexpr int SpeedRatio = First + 79;          // "Speed ratio"
inline constexpr int NoBearing = First + 80;           // "(none)"
inline constexpr int LocationExample = First + 81;     // "e.g. Motor DE"
inline constexpr int FaultFamilies = First + 82;       // "Fault Families"
inline constexpr int ShowFaultFamilies = First + 83;   // "Show Fault Families"
inline constexpr int BearingCursorFrom = First + 84;   // "Bearing Cursor From"
// The server database dialog of the Connection menu.
inline constexpr int ServerDatabase = First + 85;     // "Server Database"
inline constexpr int ServerAddressLabel = First + 86; // "Address"
inline constexpr int ServerPassword = First + 87;     // "Password"
inline constexpr int PasswordHint = First + 88;       // "only when the server asks; never stored"
inline constexpr int TestConnection = First + 89;     // "Test Connection"
inline constexpr int ConnectServer = First + 90;      // "Connect"
// Dialog texts that were English only: the lube point's fields, the mail server's send options,
// the envelope caption and the stop when the remote database cannot be used.
inline constexpr int LubeType = First + 91;          // "Lube Type"
inline constexpr int LubeUnits = First + 92;         // "Lube Units"
inline constexpr int SendAutomatically = First + 93; // "Send automatically, without review"
inline constexpr int SendTestMessage = First + 94;   // "Send test message"
inline constexpr int MessageSent = First + 95;       // "Sent: %1"
inline constexpr int OpenedForReview = First + 96;   // "Opened for review: %1"
inline constexpr int EnvelopeCaption = First + 97;   // "Envelope band %1-%2 Hz    gE overall %3"
inline constexpr int RemoteUnavailableStop =
    First + 98; // "Unable to make Remote connection; nothing was done. Try agai..."
inline constexpr int MailHost = First + 99;             // "Server"
inline constexpr int MailPort = First + 100;            // "Port"
inline constexpr int MailSecurity = First + 101;        // "Security"
inline constexpr int MailSender = First + 102;          // "Sender"
inline constexpr int SecurityNone = First + 103;        // "None"
inline constexpr int EnvelopeHighClipped = First + 104; // "(high edge %1 Hz clipped to Fmax)"
// The point views' tabs, buttons and zoom menu that were English only.
inline constexpr int AnalysisTab = First + 105;         // "Analysis"
inline constexpr int PreviousReading = First + 106;     // "◀ Previous reading"
inline constexpr int NextReading = First + 107;         // "Next reading ▶"
inline constexpr int SnapCursorToPeaks = First + 108;   // "Snap the cursor to peaks"
inline constexpr int FullView = First + 109;            // "Full view"
inline constexpr int PreviousZoom = First + 110;        // "Previous zoom"
inline constexpr int TimesRunSpeedSuffix = First + 111; // "× run speed"
// The report wizard's choice of the section after the documented ones.
inline constexpr int FindingsSectionChoice = First + 112; // "Findings of the automatic diagnosis"
// The mail password over a connection without encryption, and where the password is kept.
inline constexpr int PlainAuthRefused = First + 113;  // "The mail server %1 has no encryption ..."
inline constexpr int AllowPlainAuth = First + 114;    // "Send the password to this server without encryption"
inline constexpr int PasswordNotStored = First + 115; // "The password could not be stored: %1"
// What to do next about a bearing finding of the diagnosis.
inline constexpr int NextStepOuterRace =
    First + 116; // "Outer-race defect, early stage: shorten the measurement inte..."
inline constexpr int NextStepInnerRace =
    First + 117; // "Inner-race defect, early stage: shorten the measurement inte..."
inline constexpr int NextStepRollingElement =
    First + 118; // "Rolling-element defect: shorten the measurement interval, ch..."
inline constexpr int NextStepCage =
    First + 119; // "Cage defect: check the lubrication and the cage at the next ..."
inline constexpr int NextStepBearingLate =
    First + 120; // "Bearing defect at a later stage (also in the velocity spectr..."
inline constexpr int NextStepUncertain =
    First + 121; // "Bearing defect, family uncertain: compare the candidates' li..."
// The severity standard of a point (ISO 20816-3 zones) in the point set-up, tooltips and report.
inline constexpr int SeverityStandardLabel = First + 122; // "Severity standard"
inline constexpr int DocumentedIsoAlarm = First + 123;    // "Documented ISO alarm"
inline constexpr int MachineGroup = First + 124;          // "Machine group"
inline constexpr int SupportLabel = First + 125;          // "Support"
inline constexpr int RigidSupport = First + 126;          // "Rigid"
inline constexpr int FlexibleSupport = First + 127;       // "Flexible"
inline constexpr int GroupLarge = First + 128;            // "1 - large machines, 300 kW to 50 MW"
inline constexpr int GroupMedium = First + 129;           // "2 - medium machines, 15 kW to 300 kW"
inline constexpr int SuggestLevels = First + 130;         // "Suggest Levels"
inline constexpr int SuggestedLevels =
    First + 131; // "From the mean %1 mm/s of %2 readings, ISO 20816-3 suggest..."
inline constexpr int ZoneAlarm = First + 132;        // "Zone alarm: %1"
inline constexpr int SeverityZoneLine = First + 133; // "Severity by %1: %2"
inline constexpr int SeverityZones = First + 134;    // "Severity zones"
inline constexpr int SeverityZonesIntro =
    First + 135; // "The zone of each point judged by ISO 20816-3, from its ne..."
inline constexpr int ZoneColumn = First + 136;     // "Zone"
inline constexpr int StandardColumn = First + 137; // "Standard"
// The combined status with its reasons, the report's own section.
inline constexpr int StatusReasons = First + 138; // "Status and reasons"
// Fault families drawn as far as the view shows.
inline constexpr int ToTheViewsEnd = First + 139; // "To the view's end"
// Storing a waveform from a UFF, WAV or CSV file as a reading, from the desktop.
inline constexpr int ImportWaveform = First + 140; // "Import Waveform"
inline constexpr int FromTheFile = First + 141;    // "From the file"
inline constexpr int ChannelLabel = First + 142;   // "Channel"
inline constexpr int TotalChannel = First + 143;   // "Total (acceleration)"
inline constexpr int IsoChannel = First + 144;     // "ISO (velocity)"
inline constexpr int RecordInFile = First + 145;   // "Record or channel in the file"
inline constexpr int FileOrPoint = First + 146;    // "From the file, else the point"
inline constexpr int ChooseVibPoint = First + 147; // "Choose a vibration point in the tree first."
// The follow-up pane: alarm events with their acknowledgement, and the route points due.
inline constexpr int EventsPaneTitle = First + 148;           // "Events"
inline constexpr int EventsNew = First + 149;                 // "New"
inline constexpr int EventsAcknowledged = First + 150;        // "Acknowledged"
inline constexpr int EventsAll = First + 151;                 // "All"
inline constexpr int EventsAcknowledge = First + 152;         // "Acknowledge..."
inline constexpr int EventsComment = First + 153;             // "Comment for the acknowledgement:"
inline constexpr int EventsAnyLevel = First + 154;            // "Any level"
inline constexpr int EventsAnyAge = First + 155;              // "Any age"
inline constexpr int EventsLastDays = First + 156;            // "Last %1 days"
inline constexpr int EventsMachine = First + 157;             // "Machine"
inline constexpr int EventsPoint = First + 158;               // "Point"
inline constexpr int EventsTime = First + 159;                // "Time"
inline constexpr int EventsLevel = First + 160;               // "Level"
inline constexpr int EventsSource = First + 161;              // "Source"
inline constexpr int EventsState = First + 162;               // "State"
inline constexpr int EventsReason = First + 163;              // "Reason"
inline constexpr int NewEventsCount = First + 164;            // "%1 new events"
inline constexpr int DuePoints = First + 165;                 // "Due points"
inline constexpr int DueColumn = First + 166;                 // "Due"
inline constexpr int OverdueOnly = First + 167;               // "Overdue only"
inline constexpr int LastReading = First + 168;               // "Last reading"
inline constexpr int DaysLate = First + 169;                  // "Days late"
inline constexpr int ReportEventsSection = First + 170;       // "Events and recommendations"
inline constexpr int ReportNewEvents = First + 171;           // "New events"
inline constexpr int ReportAcknowledgements = First + 172;    // "Acknowledgements"
inline constexpr int ReportOpenRecommendations = First + 173; // "Open recommendations"
inline constexpr int ReportCompliance = First + 174;          // "Route compliance, last %1 days"
inline constexpr int ReportUser = First + 175;                // "User"
inline constexpr int ReportComment = First + 176;             // "Comment"
inline constexpr int ReportPriority = First + 177;            // "Priority"
inline constexpr int ReportAction = First + 178;              // "Action"
inline constexpr int ReportAssignedTo = First + 179;          // "Assigned to"
inline constexpr int ReportRoute = First + 180;               // "Route"
inline constexpr int ReportIntervalDays = First + 181;        // "Interval (days)"
inline constexpr int ReportOnTime = First + 182;              // "On time"
inline constexpr int ReportAllRoutes = First + 183;           // "All routes"
inline constexpr int CepstrumTab = First + 184;               // "Cepstrum"
inline constexpr int QuefrencyLabel = First + 185;            // "Quefrency"
inline constexpr int CepstrumPeriods = First + 186;           // "Periods: %1"
inline constexpr int NoCaptureForCepstrum =
    First + 187;                                   // "the reading holds no waveform of 256 samples or more"
inline constexpr int RouteStartDate = First + 188; // "Start date"
inline constexpr int RouteApplySchedule = First + 189;    // "Apply"
inline constexpr int RouteComplianceColumn = First + 190; // "Compliance, %1 days"
inline constexpr int RouteComplianceLine = First + 191;   // "%1 of %2 due measurements on time (%3 %)"
inline constexpr int RouteNothingDue = First + 192;       // "nothing due"
inline constexpr int SignOffTitle = First + 193;          // "Sign-off"
inline constexpr int SignOffAnalyst = First + 194;        // "Analyst"
inline constexpr int SignOffDate = First + 195;           // "Date"
inline constexpr int SignOffQualification = First + 196;  // "Qualification"
inline constexpr int NoteTip = First + 197;               // "Note, %1, %2:\n%3"
inline constexpr int ReportNotes = First + 198;           // "Notes"
inline constexpr int ReportAuthor = First + 199;          // "Author"
inline constexpr int ReportNote = First + 200;            // "Note"
inline constexpr int OnlineSensorTip = First + 201;       // "Online sensor %1: %2 mm/s at %3"
inline constexpr int OnlineSensorWaiting = First + 202;   // "Online sensor %1: no values yet"
inline constexpr int AlarmsTab = First + 203;             // "Alarms"
inline constexpr int PointTab = First + 204;              // "Point"
inline constexpr int BaselineAlarmsGroup = First + 205;   // "Baseline and change alarms"
inline constexpr int AlarmMeasure = First + 206;          // "Measure"
inline constexpr int AlarmOnMeasure = First + 207;        // "Alarm on this measure"
inline constexpr int BaselineLabel = First + 208;         // "Baseline"
inline constexpr int BaselineNone = First + 209;          // "None (change against the previous reading)"
inline constexpr int BaselineFirst = First + 210;         // "First readings"
inline constexpr int BaselineRange = First + 211;         // "Date range"
inline constexpr int BaselineCount = First + 212;         // "Readings"
inline constexpr int BaselineFrom = First + 213;          // "From"
inline constexpr int BaselineTo = First + 214;            // "To"
inline constexpr int SigmaLimits = First + 215;           // "Warning, critical at mean + k·σ"
inline constexpr int ChangeLimits = First + 216;          // "Warning, critical at × reference"
inline constexpr int BaselineReadings = First + 217;      // "Readings in the baseline"
inline constexpr int AlarmValue = First + 218;            // "Value"
inline constexpr int BaselineStats = First + 219;         // "Mean %1, σ %2: warning %3, critical %4"
inline constexpr int BaselineTooShort = First + 220;      // "%1 usable readings; at least %2 are needed"
inline constexpr int SpectralBandsGroup = First + 221;    // "Spectral alarm bands"
inline constexpr int BandSpectrumColumn = First + 222;    // "Spectrum"
inline constexpr int BandFromColumn = First + 223;        // "From"
inline constexpr int BandToColumn = First + 224;          // "To"
inline constexpr int BandOrdersColumn = First + 225;      // "Orders"
inline constexpr int BandJudgedColumn = First + 226;      // "Judged on"
inline constexpr int BandLargestLine = First + 227;       // "Largest line"
inline constexpr int BandRms = First + 228;               // "RMS"
inline constexpr int BandWarningColumn = First + 229;     // "Warning"
inline constexpr int BandCriticalColumn = First + 230;    // "Critical"
inline constexpr int AddBand = First + 231;               // "Add Band"
inline constexpr int RemoveBand = First + 232;            // "Remove Band"
inline constexpr int BandRefusal = First + 233;           // "Band %1: %2"
inline constexpr int BandSpectrumIso = First + 234;       // "ISO (mm/s RMS)"
inline constexpr int BandSpectrumTotal = First + 235;     // "Total (g)"
inline constexpr int BandSpectrumEnvelope = First + 236;  // "Envelope (gE)"
inline constexpr int StoredBandLeftOut = First + 237;     // "Stored band %1 is left out: %2"
inline constexpr int EnvelopeBandGroup = First + 238;     // "Envelope band"
inline constexpr int OwnEnvelopeBand = First + 239;       // "The point's own band (else Fmax/4 to Fmax)"
inline constexpr int EnvelopeLowHz = First + 240;         // "Low (Hz)"
inline constexpr int EnvelopeHighHz = First + 241;        // "High (Hz)"
inline constexpr int CrestFactorLabel = First + 242;      // "Crest Factor"
inline constexpr int KurtosisLabel = First + 243;         // "Kurtosis"
inline constexpr int PeakToPeakLabel = First + 244;       // "Peak-to-Peak"
inline constexpr int GeOverallLabel = First + 245;        // "gE Overall"
inline constexpr int ExportMenu = First + 246;            // "Export"
inline constexpr int ExportCsvItem = First + 247;         // "CSV…"
inline constexpr int ExportPngItem = First + 248;         // "PNG…"
inline constexpr int PrintItem = First + 249;             // "Print…"
inline constexpr int ExportPngTitle = First + 250;        // "Export PNG"
inline constexpr int FileNotWritten = First + 251;        // "The file %1 could not be written"
inline constexpr int OnlineValuesLabel = First + 252;     // "Online"
inline constexpr int EnvelopeGraphChoice = First + 253;   // "Envelope spectrum with fault families and bands"
inline constexpr int TrendHistoryChoice = First + 254;    // "Trends show every reading, whatever the period"
inline constexpr int EnvelopeGraphHeading = First + 255;  // "Envelope (gE) - Spectrum"
inline constexpr int DiagUnbalanceSummary =
    First + 256; // "1× dominant: %1 of the ISO energy, 2× %2 and 3× %3 of 1×"
inline constexpr int DiagMisalignmentSummary = First + 257; // "2× is %1 and 3× %2 of 1×"
inline constexpr int DiagLoosenessSummary =
    First + 258;                                   // "%1 harmonics of 1× and %2 half-orders above the floor"
inline constexpr int DiagIsoLine = First + 259;    // "%1 %2 mm/s at %3 Hz"
inline constexpr int DiagIsoOverall = First + 260; // "ISO overall %1 mm/s: zone %2 (B/C %3, C/D %4 mm/s)"
inline constexpr int DiagFamilyOfBearing = First + 261;   // "%1 of %2 at %3"
inline constexpr int DiagEnvelopeHarmonics = First + 262; // "%1: %2 harmonics in the envelope%3"
inline constexpr int DiagLaterStage = First + 263;        // ", also in the velocity spectrum (later stage)"
inline constexpr int DiagEarlyStage = First + 264;    // ", not yet in the velocity spectrum (early stage)"
inline constexpr int DiagEnvelopeLine = First + 265;  // "%1 %2× %3 gE at %4 Hz"
inline constexpr int DiagVelocityLine = First + 266;  // "%1 %2× %3 mm/s at %4 Hz"
inline constexpr int DiagLineOverNoise = First + 267; // "%1 at %2 Hz: %3 dB over the local noise"
inline constexpr int DiagUncertainSummary =
    First + 268; // "family uncertain: candidates %1 (evidence scores) in the ..."
inline constexpr int DiagVerdictSummary = First + 269;    // "%1: evidence score %2 on %3 lines in the %4%5%6"
inline constexpr int WhitenedFullBand = First + 270;      // "whitened full band"
inline constexpr int KurtogramBand = First + 271;         // "kurtogram band"
inline constexpr int PointsOwnBand = First + 272;         // "point's band"
inline constexpr int DiagRunSpeedEstimated = First + 273; // "; run speed %1 Hz estimated, %2 Hz stored"
inline constexpr int DiagImpactingSummary = First + 274;  // "Total crest factor %1, kurtosis %2"
inline constexpr int DiagCrestEvidence = First + 275;     // "crest factor %1 (rule: > %2)"
inline constexpr int DiagKurtosisEvidence = First + 276;  // "kurtosis %1 (rule: > %2)"
inline constexpr int DiagNoRule = First + 277;            // "No rule applies"
inline constexpr int DiagNoIsoSpectrum = First + 278;     // "The reading has no ISO spectrum"
inline constexpr int DiagNoEnvelope = First + 279;        // "No envelope spectrum: %1"
inline constexpr int DiagNoTotalIndices = First + 280;    // "The Total channel has no indices"
inline constexpr int EnvelopeTooShort =
    First + 281; // "The capture is too short for an envelope spectrum: it nee..."
inline constexpr int EnvelopeNotFinite =
    First + 282; // "The capture holds values that are not numbers; no envelop..."
inline constexpr int EnvelopeLowNotPositive =
    First + 283; // "The envelope band's low edge must be above 0 Hz."
inline constexpr int EnvelopeLowNotBelowHigh =
    First + 284; // "The envelope band's low edge must lie below its high edge..."
inline constexpr int EnvelopeBandTooNarrow =
    First + 285;                                       // "The envelope band must be at least two lines wide."
inline constexpr int EnvelopeTitle = First + 286;      // "%1  Envelope %2-%3 Hz"
inline constexpr int ReasonOverBaseline = First + 287; // "%1 %2 ≥ baseline + %3σ %4"
inline constexpr int ReasonTimesBaseline = First + 288;    // "%1 %2× baseline"
inline constexpr int ReasonTimesPrevious = First + 289;    // "%1 %2× previous"
inline constexpr int ReasonBand = First + 290;             // "Band %1 (%2 %3 %4) %5 %6 ≥ %7 %8"
inline constexpr int BandPeakWord = First + 291;           // "peak"
inline constexpr int BandWarningWord = First + 292;        // "warning"
inline constexpr int BandCriticalWord = First + 293;       // "critical"
inline constexpr int MeasureIsoVelocity = First + 294;     // "ISO velocity"
inline constexpr int MeasureBearingNoise = First + 295;    // "Bearing noise"
inline constexpr int MeasureBand = First + 296;            // "Band %1"
inline constexpr int ZoneVerdict = First + 297;            // "zone %1 (%2 %3 %4, %5 %4)"
inline constexpr int ZoneByVelocity = First + 298;         // "velocity"
inline constexpr int ZoneByDisplacement = First + 299;     // "displacement"
inline constexpr int ZoneBelowAB = First + 300;            // "below A/B %1"
inline constexpr int DocumentedLimitsReason = First + 301; // "ISO/BDU limits: %1"
inline constexpr int BaselineNeedsPositive = First + 302;  // "A baseline needs a positive number of readings"
inline constexpr int BaselineNeedsAtLeast = First + 303;   // "A baseline needs at least %1 readings"
inline constexpr int BaselineNeedsBothDates =
    First + 304; // "A baseline by dates needs both its first and its last date"
inline constexpr int BaselineEndsBeforeStart = First + 305; // "The baseline ends before it starts"
inline constexpr int SigmaMultiplesPositive = First + 306;  // "The σ multiples must be numbers above 0"
inline constexpr int SigmaCriticalBelowWarning =
    First + 307; // "The critical σ multiple must not be below the warning one"
inline constexpr int ChangeRatiosAboveOne = First + 308; // "The change ratios must be numbers above 1"
inline constexpr int ChangeCriticalBelowWarning =
    First + 309; // "The critical change ratio must not be below the warning one"
inline constexpr int UnknownMeasure = First + 310; // "Unknown measure %1"
inline constexpr int BandFromBelowTo =
    First + 311; // "A band runs from a frequency of 0 or more up to a higher one"
inline constexpr int BandLimitsNotNegative = First + 312;    // "A band's limits must be numbers of 0 or more"
inline constexpr int BandCriticalBelowWarning = First + 313; // "Critical must not be below Warning"
inline constexpr int BandOrdersNeedRunSpeed = First + 314;   // "A band in orders needs the point's run speed"
inline constexpr int BandPastFmax =
    First + 315; // "The band ends at %1 Hz, past the %2 spectrum's Fmax of %3 Hz"
inline constexpr int UnknownSpectrum = First + 316; // "unknown spectrum %1"
inline constexpr int BearingFaultsExplanation =
    First + 317; // "Each fault frequency is given as an order of the run spee..."
// Notes of the views and the Findings pane when a reading lacks what they need.
inline constexpr int NoTotalCapture =
    First + 318; // "This reading has no Total capture (it was imported with i..."
inline constexpr int NoIsoCapture =
    First + 319; // "This reading has no ISO capture (it was imported with its..."
inline constexpr int BandsNotDecoded = First + 320; // "The latest reading cannot be decoded for the bands"
inline constexpr int NoVelocityForZone =
    First + 321; // "The latest reading has no ISO velocity to judge by %1"
// The ISO 10816-3 table of the Help menu.
inline constexpr int IsoGroupColumn = First + 322; // "Group"
inline constexpr int IsoGroupLarge = First + 323; // "Large machines, 300 kW < P < 50 MW; motors 315 mm ≤ H"
inline constexpr int IsoGroupMedium =
    First + 324; // "Medium sized machines, 15 kW < P ≤ 300 kW; motors 160 mm ..."
inline constexpr int IsoGroupPumpsExternal =
    First + 325; // "Pumps > 15 kW, radial, axial, mixed flow, external driver"
inline constexpr int IsoGroupPumpsIntegrated =
    First + 326; // "Pumps > 15 kW, radial, axial, mixed flow, integrated driver"
// The sources of alarm events and the graph's time axis captions, in the language shown.
inline constexpr int EventSourceDocumented = First + 327; // "documented"
inline constexpr int EventSourceBaseline = First + 328;   // "baseline"
inline constexpr int EventSourceChange = First + 329;     // "change"
inline constexpr int EventSourceBand = First + 330;       // "band"
inline constexpr int EventSourceZone = First + 331;       // "zone"
inline constexpr int EventSourceDiagnosis = First + 332;  // "diagnosis"
inline constexpr int TimeAxisSeconds = First + 333;       // "time (secs)"
inline constexpr int TimeAxisMinutes = First + 334;       // "time (mins)"
inline constexpr int TimeAxisHours = First + 335;         // "time (hours)"
} // namespace text::added

} // namespace vantor
