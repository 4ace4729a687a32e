// Identifiers of the graph control's type library and the factory that creates the control from
// its class identifier or its ProgID, as the application and the control host do.
#pragma once

#include <VantorGraph/vantorgraph_export.h>

#include <QString>
#include <QWidget>

#include <memory>

class CVantorGraphCtrl;

namespace VantorGraphIds {
inline constexpr auto TypeLibraryName = "VANTORGRAPHLib";
inline constexpr int TypeLibraryVersionMajor = 1;
inline constexpr int TypeLibraryVersionMinor = 0;
inline constexpr auto LibraryId = "{5911946A-DD27-4ECF-A426-8A4F0E047CE2}";
inline constexpr auto CoclassName = "VantorGraph";
inline constexpr auto CoclassId = "{D39D332D-5E11-4E0D-BA45-4F9D01D3F82C}";
inline constexpr auto DispatchInterfaceName = "_DVantorGraph";
inline constexpr auto DispatchInterfaceId = "{FDE87648-8A19-4487-8A4B-71C520C17204}";
inline constexpr auto EventInterfaceName = "_DVantorGraphEvents";
inline constexpr auto EventInterfaceId = "{69233575-4647-49D2-8B92-AAF125A61E89}";
inline constexpr auto ProgId = "VANTORGRAPH.VantorGraphCtrl.1";
inline constexpr auto PropertyPageProgId = "VANTORGRAPH.VantorGraphPropPage.1";
inline constexpr auto ControlName = "VantorGraph Control";
inline constexpr auto Version = "1.0";
} // namespace VantorGraphIds

// A new graph control for the class identifier (braced, any letter case) or the ProgID; null for
// any other name. The control is freshly constructed: the container then either resets it from
// its persisted defaults (a newly inserted control) or loads its stored property bag.
VANTORGRAPH_EXPORT std::unique_ptr<CVantorGraphCtrl> createVantorGraphControl(const QString& classIdOrProgId,
                                                                              QWidget* parent = nullptr);
