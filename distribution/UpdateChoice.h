#pragma once

// The user's answer when a new version is offered.
enum class UpdateChoice {
    install,
    remindLater,
    skipVersion,
};
