#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

// Every reader of bytes from outside the app, each fed one input as the app
// would meet it. Used by the libFuzzer targets and by the regression corpus
// test; an input that crashes, hangs or exhausts memory here is a bug.
namespace FuzzEntryPoints {

struct Target {
    using Runner = void (*)(QByteArrayView input);
    QString name;
    Runner run;
};

// The image files the user opens: PNG, JPEG and TIFF by content.
void imageOpen(QByteArrayView input);
// A history entry's PNG: its thumbnail and reopening it.
void historyImage(QByteArrayView input);
// A history entry's sidecar naming the exported file.
void historySidecar(QByteArrayView input);
// The settings file read at start.
void settingsFile(QByteArrayView input);
// The update feed and its items.
void updateFeed(QByteArrayView input);
// The recognition helper's output lines, as text and as word regions.
void ocrOutput(QByteArrayView input);
// The pixels the recognition helper reads from its input.
void ocrPixels(QByteArrayView input);
// What another local process sends the running app: the first byte sets how
// many bytes arrive at a time, the rest is the stream (framed JSON).
void instanceRequest(QByteArrayView input);

const std::vector<Target> &targets();

} // namespace FuzzEntryPoints
