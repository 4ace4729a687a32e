#include "store/StarterBearings.h"

namespace vantor {
namespace {

struct StarterRow {
    const char* guid;
    const char* designation;
    const char* maker;
    int rollingElements;
    float rollingElementDiameterMM;
    float pitchDiameterMM;
    float contactAngleDeg;
    const char* source;
};

// Inch figures are converted at 25.4 mm per inch and rounded to the micrometre.
constexpr StarterRow kStarterRows[] = {
    {"{c129345a-7e38-4c5a-88c2-73da0720ec91}", "6205-2RS JEM", "SKF", 9, 7.94f, 39.04f, 0.0f,
     "Case Western Reserve University Bearing Data Center, drive-end bearing specifications "
     "(ball 0.3126 in, pitch 1.537 in)"},
    {"{84ccfd6c-2b07-478a-9e02-19aa63ade9de}", "6203-2RS JEM", "SKF", 8, 6.746f, 28.499f, 0.0f,
     "Case Western Reserve University Bearing Data Center, fan-end bearing specifications "
     "(ball 0.2656 in, pitch 1.122 in)"},
    {"{966a0868-78ac-432b-a0d7-203216f9365e}", "ZA-2115", "Rexnord", 16, 8.407f, 71.501f, 15.17f,
     "IMS bearing data set, University of Cincinnati (double row, 16 rollers per row, roller 0.331 in, "
     "pitch 2.815 in, contact angle 15.17 deg)"},
    {"{01b9113f-8d79-453c-8a35-15bcd9eaed97}", "MFPT test rig bearing", "NICE", 8, 5.969f, 31.623f, 0.0f,
     "MFPT Society condition based maintenance fault database (roller 0.235 in, pitch 1.245 in)"},
    {"{a35d71b2-18bc-4958-9dc4-f800746d0a60}", "UER204", "LDK", 8, 7.92f, 34.55f, 0.0f,
     "XJTU-SY bearing data sets, Xi'an Jiaotong University (ball 7.92 mm, pitch 34.55 mm)"},
};

} // namespace

std::vector<CBearing> StarterBearings() {
    std::vector<CBearing> bearings;
    float order = 0;
    for (const StarterRow& row : kStarterRows) {
        CBearing bearing;
        bearing.sItemGUID = QString::fromLatin1(row.guid);
        bearing.fOrder = order;
        bearing.sDesignation = QString::fromUtf8(row.designation);
        bearing.sMaker = QString::fromUtf8(row.maker);
        bearing.iRollingElements = row.rollingElements;
        bearing.fRollingElementDiameterMM = row.rollingElementDiameterMM;
        bearing.fPitchDiameterMM = row.pitchDiameterMM;
        bearing.fContactAngleDeg = row.contactAngleDeg;
        bearing.sSource = QString::fromUtf8(row.source);
        bearings.push_back(bearing);
        order += 1;
    }
    return bearings;
}

} // namespace vantor
