// Command identifiers of the tool-bar items and the colour menu, and the controls' identifiers.
#pragma once

namespace orvane {

enum CommandId : int {
    idTBGet = 101,
    idTBGetExe,
    idTBReport,
    idTBIcon,
    idTBFind,
    idTBExe,
    idTBAdmin,
    idTBDir,
    idTBLink,
    idTBClose,
    idTBColor,
    idPPColor0 = 201,
    idPPColor1,
    idPPColor2,
    idToolBar1 = 301,
    idCBFind,
    idListView,
    idStatusBar,
};

} // namespace orvane
