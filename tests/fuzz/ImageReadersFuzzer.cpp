// libFuzzer target: the TGA, BMP and SGI readers over arbitrary bytes. Each input goes to all
// three; whatever reads must be a whole image of the size it claims.
//
// With FITWRIGHT_FUZZ_SEEDS=<folder> set, the program writes seed files made by the test writers
// into the folder and ends instead; with FITWRIGHT_FUZZ_DICT=<file> it writes its dictionary
// first (tools/run-fuzzers does both before fuzzing).

#include "FuzzDictionary.h"

#include "scene/graph/NiRawImageData.h"
#include "scene/object/MemoryBufferStream.h"
#include "scene/object/NiRefPtr.h"
#include "scene/render/LoadImageFile.h"
#include "tests/scene/render/ImageFileWriters.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace
{
std::vector<std::pair<std::string, std::string>> MakeSeeds()
{
    using namespace imagefiles;
    NiRefPtr<NiRawImageData> spRgb = new NiRawImageData(NiRawImageData::FORMAT_RGB, 7, 3);
    NiRefPtr<NiRawImageData> spRgba = new NiRawImageData(NiRawImageData::FORMAT_RGBA, 4, 5);
    NiRefPtr<NiRawImageData> spIndexed = new NiRawImageData(NiRawImageData::FORMAT_PALETTIZED, 5, 2);
    for (NiRawImageData* pkImage : {spRgb.Get(), spRgba.Get(), spIndexed.Get()})
    {
        for (size_t i = 0; i < pkImage->GetPixelByteCount(); ++i)
            pkImage->GetPixels()[i] = static_cast<uint8_t>(i < 6 ? 9 : (i * 29) % 16);
    }
    for (uint32_t i = 0; i < NiRawImageData::PALETTE_BYTES; ++i)
        spIndexed->GetPalette()[i] = static_cast<uint8_t>(i);
    return {
        {"rgb.tga", MakeTga(*spRgb, 2)},          {"rgba-packets.tga", MakeTga(*spRgba, 10, true)},
        {"mapped.tga", MakeTga(*spRgb, 1)},       {"mapped-packets.tga", MakeTga(*spRgba, 9)},
        {"grey.tga", MakeTga(*spRgb, 3)},         {"rgb.bmp", MakeBmp(*spRgb, 24)},
        {"rgba.bmp", MakeBmp(*spRgba, 32, true)}, {"4bit.bmp", MakeBmp(*spIndexed, 4)},
        {"8bit.bmp", MakeBmp(*spIndexed, 8)},     {"verbatim.rgb", MakeSgi(*spRgb, false)},
        {"packets.rgba", MakeSgi(*spRgba, true)}, {"grey-alpha.int", MakeSgi(*spRgba, true, 2)},
    };
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* pcDictionary = std::getenv("FITWRIGHT_FUZZ_DICT"))
    {
        // The boundary words and the two files' magic numbers (SGI's is big-endian).
        std::vector<std::string> kEntries = BoundaryWords();
        kEntries.insert(kEntries.end(), {"BM", std::string("\x01\xDA", 2)});
        if (!WriteDictionary(pcDictionary, kEntries))
        {
            std::fprintf(stderr, "cannot write the dictionary %s\n", pcDictionary);
            std::exit(1);
        }
    }
    const char* pcSeeds = std::getenv("FITWRIGHT_FUZZ_SEEDS");
    if (!pcSeeds)
        return 0;
    for (const auto& [kName, kBytes] : MakeSeeds())
    {
        const std::string kPath = std::string(pcSeeds) + "/" + kName;
        std::FILE* pkFile = std::fopen(kPath.c_str(), "wb");
        if (!pkFile || std::fwrite(kBytes.data(), 1, kBytes.size(), pkFile) != kBytes.size())
        {
            std::fprintf(stderr, "cannot write seed %s\n", kPath.c_str());
            std::exit(1);
        }
        std::fclose(pkFile);
    }
    std::exit(0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pucData, size_t uiSize)
{
    for (const auto pfnReader : {&ReadTgaImage, &ReadBmpImage, &ReadSgiImage})
    {
        MemoryBufferStream kStream(pucData, static_cast<uint32_t>(uiSize));
        NiRawImageData kImage;
        if (!pfnReader(kStream, kImage))
            continue;
        if (kImage.GetPixelByteCount() != size_t(kImage.GetRowStride()) * kImage.GetHeight() ||
            !kImage.GetPixels())
            std::abort();
        // Touch every byte the image claims, so that a short block shows under the sanitizers.
        volatile uint8_t ucSum = 0;
        for (size_t i = 0; i < kImage.GetPixelByteCount(); ++i)
            ucSum = ucSum + kImage.GetPixels()[i];
    }
    return 0;
}
