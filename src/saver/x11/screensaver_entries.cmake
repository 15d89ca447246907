# Installs the desktop entries through which the saver programs of MATE and
# XFCE list the saver: one where the clock chooses the community, one for each
# community of the settings menu in tintwalk.xml. Run at install time, since
# an entry names the module by its installed path, which only then is known
# (cpack installs under its own prefix). Expects:
#   menu      the module description tintwalk.xml
#   module    the module's folder, relative to the install prefix or absolute
#   entries   the entries' folder, relative to the install prefix
#   scratch   a folder of the build where the entries are written first
if(NOT IS_ABSOLUTE "${module}")
  set(module "${CMAKE_INSTALL_PREFIX}/${module}")
endif()
set(module "${module}/tintwalk")

# entry(FILE NAME COMMENT ARGUMENTS): writes one entry. These programs start
# Exec with the window to draw in named in XSCREENSAVER_WINDOW, which -root
# reads; they show the entries whose category is Screensaver.
function(entry file name comment arguments)
  file(WRITE "${scratch}/${file}.desktop" "[Desktop Entry]
Type=Application
Name=${name}
Comment=${comment}
Exec=${module} -root${arguments}
TryExec=${module}
Terminal=false
StartupNotify=false
Categories=Screensaver;
Keywords=screensaver;artificial life;generative art;
OnlyShowIn=MATE;XFCE;
")
  list(APPEND written "${scratch}/${file}.desktop")
  set(written ${written} PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${scratch}")
set(written)
entry(tintwalk "Tintwalk"
  "Eight bots paint an evolving artificial-life picture point by point; the clock chooses one of ten communities"
  "")
# The menu's options, in its order: id, label, then the arguments, which
# name each community in a form a command line keeps whole.
file(READ "${menu}" description)
string(REPLACE "&amp;" "&" description "${description}")
string(REGEX MATCHALL "<option id=\"[^\"]+\" _label=\"Community [^\"]+\" arg-set=\"[^\"]+\""
       options "${description}")
foreach(option ${options})
  string(REGEX REPLACE "^<option id=\"([^\"]+)\" _label=\"Community ([^\"]+)\" arg-set=\"([^\"]+)\"$"
         "\\1;\\2;\\3" fields "${option}")
  list(GET fields 0 id)
  list(GET fields 1 community)
  list(GET fields 2 arguments)
  entry("tintwalk-${id}" "Tintwalk: ${community}"
    "Eight bots of the community ${community} paint an evolving artificial-life picture point by point"
    " ${arguments}")
endforeach()
list(LENGTH options count)
if(count EQUAL 0)
  message(FATAL_ERROR "no community options in ${menu}")
endif()
file(INSTALL ${written} DESTINATION "${CMAKE_INSTALL_PREFIX}/${entries}")
