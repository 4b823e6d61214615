#include "alerts.h"

#include <atomic>

namespace {
std::atomic<AlertSink> g_sink{nullptr};
}

void SetAlertSink(AlertSink sink) { g_sink.store(sink); }

void ShowAlert(const char* text, const char* title) {
  AlertSink sink = g_sink.load();
  if (sink) sink(text ? text : "", title ? title : "");
}
