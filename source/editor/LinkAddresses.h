#pragma once

/** The pages the two link logos open in the default browser.

    They are configuration, not code: set them with the CMake cache variables ZURIZAZ_SITE_URL
    and ZURIZAZ_VIDEO_URL at configure time.
*/
namespace LinkAddresses
{
    /** The maker's home page, opened by the logo in the top bar. */
    inline constexpr const char* site = ZURIZAZ_SITE_URL;

    /** The video playlist page, opened by the video logo. */
    inline constexpr const char* video = ZURIZAZ_VIDEO_URL;
}
