// Core throughput, for context: decodes a full 199-channel image into the
// editor and encodes it back, many times, and prints how many round trips a
// second that is. The ratio compares one round trip with the 50 ms the window
// may spend on one event (a read ends with one decode in one event).
//
//   quorim_codec_bench [seconds]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "editor/codec.h"
#include "editor/editor_model.h"
#include "image/memory_image.h"
#include "link/clock.h"

namespace {

using namespace quorim;

// Every channel in use, each with its own frequencies and tones.
DocumentData FullImage() {
    DocumentData doc;
    doc.OnNewDocument();
    for (std::size_t ch = 1; ch <= 199; ++ch) {
        std::uint8_t* rec = doc.m_image.data() + RowOffset(ch);
        char text[16];
        std::snprintf(text, sizeof text, "%.5f", 400.0 + 0.0125 * static_cast<double>(ch));
        EncodeFrequency(text, rec + kRecRxFreq);
        std::snprintf(text, sizeof text, "%.5f", 410.0 + 0.025 * static_cast<double>(ch));
        EncodeFrequency(text, rec + kRecTxFreq);
        EncodeSquelch(ch % 2 ? "88.5" : "D023N", rec[kRecRxTone + 1], rec[kRecRxTone]);
        EncodeSquelch(ch % 3 ? "OFF" : "254.1", rec[kRecTxTone + 1], rec[kRecTxTone]);
        rec[kRecFlags] = 0xFB;
    }
    doc.m_image[kModelCodeOffset] = kModelCode199;
    doc.SetModelFlagFromImage();
    return doc;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::max(0.1, std::atof(argv[1])) : 1.0;
    DocumentData doc = FullImage();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    RealClock clock;
    // Five slices; the median slice gives the rate.
    std::vector<double> perRoundTripMs;
    for (int slice = 0; slice < 5; ++slice) {
        long n = 0;
        const double start = clock.NowMs();
        double now = start;
        while (now - start < seconds * 200) {
            DecodeImage(doc, editor);
            EncodeImage(editor, doc);
            ++n;
            now = clock.NowMs();
        }
        perRoundTripMs.push_back((now - start) / static_cast<double>(n));
    }
    const double ms = bench::Median(perRoundTripMs);
    if (editor.TextMatrix(199, 1).empty()) {
        std::fprintf(stderr, "the image did not decode\n");
        return 1;
    }
    std::printf("%-28s %10s %10s %7s  %s\n", "benchmark", "measured", "budget", "ratio", "target");
    std::printf("%-28s %8.3fms %8.0fms %7.4f  (%.0f round trips/s)\n", "codec 199ch decode+encode", ms, 50.0,
                ms / 50.0, 1000.0 / ms);
    return 0;
}
