# korvane_embed_text(<target> <symbol> <file> <namespace>)
# Turns a text file of the tree into a C++ source defining
#   namespace <namespace> { extern const std::string_view <symbol>; }
# and adds it to <target>, so scripts ship inside the library.
function(korvane_embed_text target symbol file ns)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DSYMBOL=${symbol} -DNS=${ns}
            -P "${PROJECT_SOURCE_DIR}/cmake/KorvaneEmbedRun.cmake"
    DEPENDS "${file}" "${PROJECT_SOURCE_DIR}/cmake/KorvaneEmbedRun.cmake"
    COMMENT "Embedding ${file}")
  target_sources(${target} PRIVATE "${out}")
endfunction()
