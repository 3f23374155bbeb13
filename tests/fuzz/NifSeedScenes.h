#pragma once

#include <string>
#include <utility>
#include <vector>

// Small scenes made in code and saved with NiStream: the seed corpus of the .nif load fuzzer.
// Together they hold a record of every class with a stream loader that the scene graph has, and
// the records whose layout changed with the file versions in every version. The folder is where
// the seeds go: one scene names a sequence file there, which this writes first.
std::vector<std::pair<std::string, std::vector<char>>> MakeNifSeedScenes(const std::string& kFolder);

// The registered classes with a concrete loader whose record no seed holds.
std::vector<std::string>
FindClassesWithoutSeed(const std::vector<std::pair<std::string, std::vector<char>>>& kSeeds);
