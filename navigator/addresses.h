#pragma once
// Every address the navigator reads or opens. The hosts come from the build
// configuration (cmake/config.cmake), passed in as compile definitions.
#if !defined(TV_SERVER_URL) || !defined(TV_OUTSIDE_SITE_1) || !defined(TV_OUTSIDE_SITE_2)
#error "the build passes TV_SERVER_URL, TV_OUTSIDE_SITE_1 and TV_OUTSIDE_SITE_2"
#endif

namespace navigator::address {

// Read from the maker's server.
inline constexpr char kBarCaption[] = TV_SERVER_URL "/gx/wenzibt.html";
inline constexpr char kBarTarget[] = TV_SERVER_URL "/gx/wenzidz.html";
inline constexpr char kBarText[] = TV_SERVER_URL "/gx/banben.html";
inline constexpr char kUpdateDescriptor[] = TV_SERVER_URL "/gx/update.xml";
inline constexpr char kPopupSwitch[] = TV_SERVER_URL "/gx/gg.xml";

// Opened in the system's browser.
inline constexpr char kHomePage[] = TV_SERVER_URL "/";
inline constexpr char kMemberLogin[] = TV_SERVER_URL "/user_login2.asp";
inline constexpr char kPopupAd[] = TV_SERVER_URL "/gg.htm";
inline constexpr char kLeftBanner[] = TV_OUTSIDE_SITE_1 "/?ruanjian";
inline constexpr char kRightBanner[] = TV_OUTSIDE_SITE_2 "/#r-pruanjian";

}  // namespace navigator::address
