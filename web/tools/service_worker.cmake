# Writes the site's service worker, site/sw.js, from its template: the list
# of the files it keeps, and the name of its cache, made of the version and
# a digest of those files, so that every build that changes a file gets a
# cache of its own and never mixes its files with an older build's.
# Run as cmake -Dtemplate=... -Dsite=... -Dversion=... -Dnames=a,b,... -P this
string(REPLACE "," ";" names "${names}")
set(digests "")
set(quoted "")
foreach(name ${names})
  if(NOT name STREQUAL "./")
    file(SHA256 "${site}/${name}" digest)
    string(APPEND digests "${name} ${digest}\n")
  endif()
  list(APPEND quoted "'${name}'")
endforeach()
string(SHA256 digest "${digests}")
string(SUBSTRING "${digest}" 0 12 digest)
set(TINTWALK_CACHE "tintwalk-${version}-${digest}")
list(JOIN quoted ", " TINTWALK_FILES)
configure_file("${template}" "${site}/sw.js" @ONLY)
