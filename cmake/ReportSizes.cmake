# Run with cmake -P after the updater is linked. Prints what users get: the
# updater's size and digest, its payload's size and the size and digest of the
# executable the payload decodes to, and the rest of the updater.
#   PROGRAM   the updater
#   PAYLOAD   the payload it carries; PAYLOAD.sha256 holds the decoded digest
cmake_minimum_required(VERSION 3.25)

# 1234567 -> "1,234,567"
function(group_digits number out)
  set(text "")
  while(number GREATER_EQUAL 1000)
    math(EXPR rest "${number} % 1000")
    math(EXPR number "${number} / 1000")
    string(LENGTH "${rest}" length)
    math(EXPR padding "3 - ${length}")
    string(REPEAT "0" ${padding} zeros)
    set(text ",${zeros}${rest}${text}")
  endwhile()
  set(${out} "${number}${text}" PARENT_SCOPE)
endfunction()

# The header's UnpackedSize, a 32-bit little-endian number at offset 8.
function(read_unpacked_size payload out)
  file(READ ${payload} hex OFFSET 8 LIMIT 4 HEX)
  set(value 0)
  foreach(position 6 4 2 0)
    string(SUBSTRING ${hex} ${position} 2 byte)
    math(EXPR value "${value} * 256 + 0x${byte}")
  endforeach()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

file(SIZE ${PROGRAM} programSize)
file(SIZE ${PAYLOAD} payloadSize)
math(EXPR restSize "${programSize} - ${payloadSize}")
file(SHA256 ${PROGRAM} programDigest)
file(READ ${PAYLOAD}.sha256 decodedDigest)
read_unpacked_size(${PAYLOAD} decodedSize)

foreach(size programSize payloadSize restSize decodedSize)
  group_digits(${${size}} ${size})
endforeach()
get_filename_component(programName ${PROGRAM} NAME)
message("${programName}: ${programSize} bytes, SHA-256 ${programDigest}
  payload: ${payloadSize} bytes, decodes to ${decodedSize} bytes with SHA-256 ${decodedDigest}
  without the payload: ${restSize} bytes")
