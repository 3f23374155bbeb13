#pragma once

class BinaryStream;
class NiRawImageData;

// Image files into raw image data (rows top first). The reader is chosen by the name's extension,
// without regard to case: ".tga", ".bmp", the SGI extensions ".rgb", ".rgba", ".int" and ".inta",
// and ".nif" for a stream whose only top-level object is raw image data. A "file://" prefix (in
// any case) is dropped. False for a missing name or extension, an extension without a reader, a
// file that cannot be opened, or a file that does not read, and for a .nif that is already being
// read further up the call (a texture that names itself, directly or through others).
bool LoadImageFile(const char* pcFileName, NiRawImageData& kTarget);

// The readers take the rest of an open stream. Every size and index a file gives is checked
// against the file's length and the tables it names; a file that is short, malformed or beyond
// the raw image's limits fails. After a failure the target may hold a new, partly filled image.
bool ReadTgaImage(BinaryStream& kStream, NiRawImageData& kTarget);
bool ReadBmpImage(BinaryStream& kStream, NiRawImageData& kTarget);
bool ReadSgiImage(BinaryStream& kStream, NiRawImageData& kTarget);
