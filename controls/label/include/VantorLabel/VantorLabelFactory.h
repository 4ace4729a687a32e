// Identifiers of the label control's type library and the factory that creates the control from
// its class identifier or its ProgID, as the application and the control host do.
#pragma once

#include <VantorLabel/vantorlabel_export.h>

#include <QString>
#include <QWidget>

#include <memory>

class CVantorLabelCtrl;

namespace VantorLabelIds {
inline constexpr auto TypeLibraryName = "VANTORLABELLib";
inline constexpr int TypeLibraryVersionMajor = 1;
inline constexpr int TypeLibraryVersionMinor = 0;
inline constexpr auto LibraryId = "{48FF012B-8712-4930-8E88-6DF2580D1A46}";
inline constexpr auto CoclassName = "VantorLabel";
inline constexpr auto CoclassId = "{FD69F239-B64A-47F2-A84A-6F0FEDBCE690}";
inline constexpr auto DispatchInterfaceName = "_DVantorLabel";
inline constexpr auto DispatchInterfaceId = "{EA247C9E-572C-4B2F-B1E3-EDD4DA7C20E3}";
inline constexpr auto EventInterfaceName = "_DVantorLabelEvents";
inline constexpr auto EventInterfaceId = "{6B1FF1FA-15CA-4F4F-8886-4BFD0C933382}";
inline constexpr auto ProgId = "VANTORLABEL.VantorLabelCtrl.1";
inline constexpr auto PropertyPageProgId = "VANTORLABEL.VantorLabelPropPage.1";
inline constexpr auto ControlName = "VantorLabel Control";
inline constexpr auto Version = "1.0";
// Version of the persisted property set (property exchange).
inline constexpr int PersistenceVersionMajor = 1;
inline constexpr int PersistenceVersionMinor = 0;
} // namespace VantorLabelIds

// A new label control for the class identifier (braced, any letter case) or the ProgID; null for
// any other name. The control is freshly constructed: the container then either resets it from
// its persisted defaults (a newly inserted control) or loads its stored property bag.
VANTORLABEL_EXPORT std::unique_ptr<CVantorLabelCtrl> createVantorLabelControl(const QString& classIdOrProgId,
                                                                              QWidget* parent = nullptr);
