#pragma once
// Kiv's application object over a settings file of the test's own, with a
// fixed clock and every message box answered by script.
#include <string>

#include "messages/scripted_messages.h"
#include "ports/clock.h"
#include "profile/qsettings_profile.h"
#include "ui/app/kiv_app.h"

struct KivRun {
  KivRun(const std::string& ini, bool defaultsMode) : profile(ini), app(profile, clock, Options(defaultsMode)) {
    app.messages().SetScript(&messages);
  }
  static StartOptions Options(bool defaultsMode) {
    StartOptions o;
    o.defaultsMode = defaultsMode;
    return o;
  }
  QSettingsProfile profile;
  FixedClock clock{0};
  ScriptedMessages messages;
  CKivApp app;
};
