#pragma once

#include "AppcastItem.h"
#include "UpdaterError.h"

#include <functional>
#include <optional>

// Told about each step of an update cycle, on the GUI thread.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;

    virtual void updaterDidFindValidUpdate(const AppcastItem &item) = 0;
    virtual void updaterDidDownloadUpdate(const AppcastItem &item) = 0;
    virtual void updaterWillInstallUpdate(const AppcastItem &item) = 0;
    // The verified update is ready. Returning true keeps `install` to run
    // later (at most once, and only while the cycle lasts); returning false
    // installs and relaunches now.
    virtual bool updaterShouldPostponeRelaunch(const AppcastItem &item, std::function<void()> install) = 0;
    virtual void updaterDidAbort(const UpdaterFailure &error) = 0;
    // Every cycle ends here, after updaterDidAbort when it failed.
    virtual void updaterDidFinishUpdateCycle(std::optional<UpdaterError> error) = 0;
};
