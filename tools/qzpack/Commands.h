#pragma once
// The two commands of qzpack. Failures raise exceptions whose message is one line.

#include <string>

// Packs input into a payload at output, after checking that it decodes back to input.
void PackFile(const std::string& input, const std::string& output);

// Decodes the payload at input and writes the decoded bytes to output.
void UnpackFile(const std::string& input, const std::string& output);
