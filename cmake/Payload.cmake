# Embeds payloads as RCDATA resources: NAME holds the payload, NAME_SHA256 the
# SHA-256 of the executable it decodes to, as 64 hexadecimal characters.
#
#   pelmor_embed_payloads(target
#     PAYLOAD NAME EXE file [TRUNCATE bytes] [WRONG_DIGEST] [DEPENDS targets]
#     PAYLOAD NAME PACKED file ...)
function(pelmor_embed_payloads target)
  set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_payloads.rc)
  set(rc_text "")
  set(outputs "")
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args keyword name)
    if(NOT keyword STREQUAL "PAYLOAD")
      message(FATAL_ERROR "pelmor_embed_payloads: expected PAYLOAD, got ${keyword}")
    endif()
    # The options of this payload run until the next PAYLOAD.
    list(FIND args PAYLOAD next)
    if(next EQUAL -1)
      set(options ${args})
      set(args "")
    else()
      list(SUBLIST args 0 ${next} options)
      list(SUBLIST args ${next} -1 args)
    endif()
    cmake_parse_arguments(P "WRONG_DIGEST" "EXE;PACKED;TRUNCATE" "DEPENDS" ${options})

    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}.qz)
    set(script_args -DQZPACK=${QZPACK} -DOUT=${out})
    if(P_EXE)
      list(APPEND script_args -DEXE=${P_EXE})
      set(input ${P_EXE})
    else()
      list(APPEND script_args -DPAYLOAD=${P_PACKED})
      set(input ${P_PACKED})
    endif()
    if(P_TRUNCATE)
      list(APPEND script_args -DTRUNCATE=${P_TRUNCATE})
    endif()
    if(P_WRONG_DIGEST)
      list(APPEND script_args -DWRONG_DIGEST=ON)
    endif()
    add_custom_command(OUTPUT ${out} ${out}.sha256
      COMMAND ${CMAKE_COMMAND} ${script_args} -P ${CMAKE_SOURCE_DIR}/cmake/MakePayload.cmake
      DEPENDS ${input} ${QZPACK} host_tools ${P_DEPENDS} ${CMAKE_SOURCE_DIR}/cmake/MakePayload.cmake
      COMMENT "Packing ${name} for ${target}"
      VERBATIM)
    string(APPEND rc_text "${name} RCDATA \"${out}\"\n${name}_SHA256 RCDATA \"${out}.sha256\"\n")
    list(APPEND outputs ${out} ${out}.sha256)
  endwhile()

  file(GENERATE OUTPUT ${rc_file} CONTENT "${rc_text}")
  target_sources(${target} PRIVATE ${rc_file})
  set_source_files_properties(${rc_file} PROPERTIES OBJECT_DEPENDS "${outputs}")
endfunction()

# pelmor_report_payload(target NAME): after each link, prints the sizes of target,
# of its payload NAME and of the rest, and the digests users can check.
function(pelmor_report_payload target name)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}>
            -DPAYLOAD=${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}.qz
            -P ${CMAKE_SOURCE_DIR}/cmake/ReportSizes.cmake
    VERBATIM)
endfunction()
