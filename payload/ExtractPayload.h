#pragma once
// Writes the executable packed in the RCDATA resource `resourceName` to targetPath.
//
// The old target is never damaged: the payload is decoded into a new file beside
// it, checked against its recorded size and SHA-256 (resource `resourceName`_SHA256,
// 64 hexadecimal characters), and only then moved over the target in one step.
// On any failure the new file is removed and the target is as it was.
//
// Returns true, or raises: EResNotFound (resource missing, before any file is
// touched), EFCreateError with targetPath (read-only or busy target, directory
// missing, replace refused), EReadError (corrupt payload, size or digest
// mismatch), EWriteError (a write failed: disk full), std::bad_alloc.

#include <string>

bool ExtractPayload(const std::string& resourceName, const std::string& targetPath);
