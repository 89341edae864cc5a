#pragma once
// The program's identity as its windows show it: name, version, release line
// and the project's links.

namespace zarvik::product {

inline constexpr char kTitle[] = "Zarvik (Omvix, Brumalo) Simulator";
inline constexpr char kVersion[] = "Version 5.00 * Final *";
inline constexpr char kReleaseLine[] = "Zarvik50 Simulator 5.00 by Quendrel, released December 2026";

inline constexpr char kWebsiteText[] = "www.quendrel.example";
inline constexpr char kWebsiteUrl[] = "https://www.quendrel.example/zarvik50/";
inline constexpr char kEmail[] = "zarvik50@quendrel.example";
inline constexpr char kDonationUrl[] = "https://www.quendrel.example/zarvik50/donate";

// The command line's --version and --help.
inline constexpr char kCopyright[] = "Copyright (C) 2026 Quendrel";
inline constexpr char kLicence[] =
    "License MIT: <https://opensource.org/license/mit>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.";
inline constexpr char kBugReports[] =
    "Report bugs to <zarvik50@quendrel.example>; home page: <https://www.quendrel.example/zarvik50/>.";

// The about box's five facts: the simulator introduces itself, a watch by
// trade that catches items for fun.
inline constexpr char kAboutName[] = "Zarvik50 Simulator";
inline constexpr char kAboutBirthplace[] = "Quendrel's bench";
inline constexpr char kAboutBirthDate[] = "December 2026";
inline constexpr char kAboutOccupation[] = "Telling the time";
inline constexpr char kAboutHobby[] = "Catching items";

}  // namespace zarvik::product
