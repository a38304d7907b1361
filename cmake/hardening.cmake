# Debian's hardening for release builds: fortified libc calls, stack protection and a read-only
# relocation table bound at start. Instrumented builds keep their own flags; MinGW has no use
# for ELF's relocation flags, and its stack protection needs a library of its own.
if(NOT WIN32 AND NOT WADWRIGHT_SANITIZE AND NOT WADWRIGHT_FUZZ AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  add_compile_definitions(_FORTIFY_SOURCE=2)
  add_compile_options(-fstack-protector-strong)
  add_link_options(-Wl,-z,relro,-z,now)
endif()
