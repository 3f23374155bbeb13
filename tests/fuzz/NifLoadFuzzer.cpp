// libFuzzer target: NiStream::LoadBuffer over arbitrary bytes, with every scene-graph class
// registered, then the load sequence and a save of whatever loaded.
//
// With FITWRIGHT_FUZZ_SEEDS=<folder> set, the program writes its seed scenes into the folder
// and ends instead (tools/run-fuzzers does this before fuzzing).

#include "NifSeedScenes.h"

#include "scene/object/NiStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* pcSeeds = std::getenv("FITWRIGHT_FUZZ_SEEDS");
    if (!pcSeeds)
        return 0;
    for (const auto& [kName, kBytes] : MakeNifSeedScenes())
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
    NiStream kStream;
    if (!kStream.LoadBuffer(pucData, uiSize))
        return 0;
    std::vector<char> kSaved;
    kStream.SaveBuffer(kSaved);
    return 0;
}
