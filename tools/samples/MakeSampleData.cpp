// Writes the sample files of the start-up folder: make_sample_data <data folder>.
#include "properties/PropertyTypeRegistry.h"
#include "tools/samples/SampleShip.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("usage: make_sample_data <data folder>\n", stderr);
        return 2;
    }
    const std::string kData = argv[1];
    std::filesystem::create_directories(kData + "/Models");
    RegisterPropertyTypes();
    const bool bDone = WriteSampleShip(kData + "/Models", SampleShipOptions{}) &&
                       WriteSampleGlobalTemplates(kData + "/GlobalPropertyTemplates.py");
    UnregisterPropertyTypes();
    if (!bDone)
    {
        std::fputs("make_sample_data: could not write the samples\n", stderr);
        return 1;
    }
    return 0;
}
