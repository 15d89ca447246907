// Resource ids shared by the resource script and the code.
#pragma once

// The settings dialog and the saver's description for the system's list.
#define IDD_CONFIG 2003
#define IDS_DESCRIPTION 1

// The saver window class asks for this icon; the icon group itself is
// stored by name ("ID_APP"), so the class ends up without an icon.
#define IDI_SAVER_CLASS 100
