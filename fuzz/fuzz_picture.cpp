// Fuzz target: picture loading by content, then every composition with the result
// (a place move's stage-only load is the background's load).
// The picture is served from memory; the stage lives for the whole process (what
// an earlier input left on it changes no decision of the compositions).
#include "fuzzsupport.h"

#include "platform/pictureloader.h"
#include "platform/scripterror.h"
#include "stage/stage.h"

#include <QImageReader>

using namespace vm2;

namespace {

// As image libraries' own fuzz targets do, decoding is held to what the largest
// stage picture needs (840 × 400, 32 bits a pixel: 1.3 MB), in whole megabytes.
// Larger claims end in the loader's refusal, as claims past its own bound do:
// decoding them was mostly the decoder allocating and filling megabytes of fresh
// memory, the same for every such input, and it took milliseconds each. The stage
// tests load a picture of the largest size the game accepts.
constexpr int kDecodingMegabytes = 2;

} // namespace

extern "C" int VM2_FUZZ_ENTRY(const std::uint8_t *data, std::size_t size)
{
    static platform::MemorySource files;
    static const bool ready = [] {
        fuzz::ensureApplication();
        platform::setFileSource(&files);
        QImageReader::setAllocationLimit(kDecodingMegabytes);
        return true;
    }();
    (void)ready;
    static stage::Stage stage;
    const QString path = fuzz::kDataFolder + QStringLiteral("/dat1/picture.da1");
    files.setFile(path, fuzz::bytesOf(data, size));
    try {
        const QImage picture = platform::loadPicture(path, QStringLiteral("dat1/picture.da1"));
        stage.loadBackground(picture);
        stage.drawCharacter(QStringLiteral("1"), 3, picture, &picture);
        stage.drawCharacter(QStringLiteral("5"), 9, picture, &picture);
        stage.overlay(picture);
    } catch (const platform::ScriptError &) {
    }
    files.clearFiles();
    return 0;
}
