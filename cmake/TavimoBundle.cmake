# Build-level settings, read by BundleInfo at run time. Empty service settings
# build an app that sends nothing and checks for no updates.
set(TAVIMO_BUILD_NUMBER "1" CACHE STRING "CFBundleVersion: the build number")
set(TAVIMO_MOXTER_ENDPOINT "" CACHE STRING "Telemetry service endpoint (HTTPS)")
set(TAVIMO_MOXTER_KEY "" CACHE STRING "Telemetry service key")
set(TAVIMO_PRIVACY_URL "" CACHE STRING "Privacy policy page linked from the settings (HTTPS)")
set(TAVIMO_FEED_URL "" CACHE STRING "Update appcast URL (HTTPS)")
set(TAVIMO_PUBLIC_ED_KEY "" CACHE STRING "Ed25519 public key of update archives (Base64)")
set(TAVIMO_REVIEW_BUILD "" CACHE STRING "Set to YES for a review build without the updater")
