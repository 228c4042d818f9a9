30276 mpv 19 1772
30277 mpv/lua_script_ 0 932
30278 mpv/lua_script_ 0 26
30279 mpv/lua_script_ 0 25
30280 mpv/lua_script_ 0 26
30283 mpv/demux 2 848
30284 mpv/worker 0 1
30285 mpv/ao 2 806
