#pragma once

#include <string>
#include <utility>
#include <vector>

// Small scenes made in code and saved with NiStream: the seed corpus of the .nif load fuzzer.
// Together they hold a record of every class with a stream loader that the scene graph has.
std::vector<std::pair<std::string, std::vector<char>>> MakeNifSeedScenes();
