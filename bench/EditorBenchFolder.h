#pragma once
// The start-up folder of an editor benchmark: a copy of data/ in a fresh temporary folder, with a
// large version of the sample ship beside the small one.
#include "properties/PropertyTypeRegistry.h"
#include "tools/samples/SampleShip.h"

#include <cstdlib>
#include <filesystem>

// Fills kFolder; false when the folder or the large ship could not be made.
inline bool MakeEditorBenchFolder(std::filesystem::path& kFolder, const SampleShipOptions& kLarge)
{
    char acTemplate[] = "/tmp/fitwright-bench-XXXXXX";
    if (mkdtemp(acTemplate) == nullptr)
        return false;
    kFolder = acTemplate;
    std::filesystem::copy(std::filesystem::path(FITWRIGHT_SOURCE_DIR) / "data", kFolder,
                          std::filesystem::copy_options::recursive);
    RegisterPropertyTypes();
    return WriteSampleShip((kFolder / "Models").string(), kLarge);
}
