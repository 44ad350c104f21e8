# cmake -DSOURCE_DIR=<duktape source folder> -DOUT_DIR=<folder> -P duktape_config.cmake
# Copies the engine's source into the build folder and switches on its execution time-out:
# the check is our function korvane_duk_exec_timeout_check, asked with the heap's user data.
foreach(f duktape.c duktape.h)
  file(COPY_FILE "${SOURCE_DIR}/${f}" "${OUT_DIR}/${f}")
endforeach()

file(READ "${SOURCE_DIR}/duk_config.h" config)

function(switch_on option replacement)
  string(FIND "${config}" "#undef ${option}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "duk_config.h has no '#undef ${option}' line to switch on")
  endif()
  string(REPLACE "#undef ${option}\n" "${replacement}\n" config "${config}")
  set(config "${config}" PARENT_SCOPE)
endfunction()

switch_on(DUK_USE_INTERRUPT_COUNTER "#define DUK_USE_INTERRUPT_COUNTER")
switch_on(DUK_USE_EXEC_TIMEOUT_CHECK [=[
#if defined(__cplusplus)
extern "C"
#endif
duk_bool_t korvane_duk_exec_timeout_check(void *udata);
#define DUK_USE_EXEC_TIMEOUT_CHECK(udata) korvane_duk_exec_timeout_check((udata))]=])

file(WRITE "${OUT_DIR}/duk_config.h" "${config}")
