# Run with cmake -P. Makes a payload and the text file of its content's SHA-256.
#   QZPACK      the packer
#   EXE         the executable to pack, or
#   PAYLOAD     a payload packed already (its content's digest comes from unpacking it)
#   OUT         the payload to write; OUT.sha256 receives the digest
#   TRUNCATE    optional: keep only this many bytes of the payload (for tests)
#   WRONG_DIGEST optional: record the digest of something else (for tests)
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}")
  endif()
endfunction()

if(DEFINED EXE)
  run(${QZPACK} pack ${EXE} ${OUT})
  file(SHA256 ${EXE} digest)
else()
  run(${QZPACK} unpack ${PAYLOAD} ${OUT}.content)
  file(SHA256 ${OUT}.content digest)
  file(REMOVE ${OUT}.content)
  file(COPY_FILE ${PAYLOAD} ${OUT})
endif()

if(DEFINED TRUNCATE)
  run(truncate -s ${TRUNCATE} ${OUT})
endif()
if(WRONG_DIGEST)
  string(SHA256 digest "not the content")
endif()
file(WRITE ${OUT}.sha256 "${digest}")
