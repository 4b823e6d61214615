// Alerts of the small services (worker threads, time source) that the user
// must see. The shell installs a sink that shows them in a message box; with
// no sink they are dropped.
//
// Interface: SetAlertSink, ShowAlert.
#pragma once

using AlertSink = void (*)(const char* text, const char* title);

void SetAlertSink(AlertSink sink);
void ShowAlert(const char* text, const char* title);
