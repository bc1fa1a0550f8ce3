# Embeds files into a target as counted byte buffers.
#   corvalin_embed(target SYMBOL file)
# defines `extern const unsigned char SYMBOL[]; extern const std::size_t SYMBOLSize;`
function(corvalin_embed target symbol file)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${out} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
    COMMENT "Embedding ${symbol}")
  target_sources(${target} PRIVATE ${out})
endfunction()
