-- Drives headless Ardour 7 (ardour7-lua, "None (Dummy)" backend) through one stage of a session
-- with a stereo track holding Zurizaz. ardour-check.py runs the stages and reads what they print.
--
--   ardour7-lua ardour_session.lua STAGE FORMAT DIR NAME [ID=VALUE ...]
--
-- STAGE  create: new session, track, plug-in; print the fresh values, set ID=VALUE, print, save.
--                With the setting "listen=1", the track also monitors its input and holds the
--                level probe (ardour_level_probe.lua) after the plug-in; with "nan=1" also the
--                NaN source (ardour_nan_source.lua) before it.
--        reopen: load the session, print, roll the transport for a second, print, save
--        listen: load the session with a constant 0.5 as the backend's input, roll the transport
--                for 2.5 s and print the probe's peak and non-finite count of each cycle; no save
-- FORMAT vst3 | lv2. Values are in the host's own units: normalised for the VST3, plain for the
--        LV2 (its parameters are patch properties). Lines the driver reads start with "@"; a
--        parameter the host is not offered is named in an "@hidden" line and never set. Each
--        stage names the plug-in binaries Ardour has mapped in "@binary" lines.

local stage, format, dir, name = arg[1], arg[2], arg[3], arg[4]
local settings = {}

local listen, nanSource = false, false

for i = 5, #arg do
  local id, value = string.match (arg[i], "^([%w]+)=([-%d.eE]+)$")
  assert (id, "bad setting " .. arg[i])
  if id == "listen" then
    listen = true
  elseif id == "nan" then
    nanSource = true
  else
    settings[#settings + 1] = { id, tonumber (value) }
  end
end

local vst3Uid = "ABCDEF019182FAEB5A727A775A727A7A"
local lv2Uri = "https://zurizaz.example/plugins/zurizaz"
local ids = { "speed", "fx", "impact", "depth", "rate", "feedback", "phaserX", "bite", "bypassOn",
              "knobsShowing", "presets", "babyRadod1", "babyRadod2", "babyRadod3", "babyRadod4",
              "babyRadod5", "babyRadod6", "babyRadod7", "babyRadod8" }

local function say (...)
  print ("@" .. table.concat ({ ... }, " "))
  io.flush ()
end

local function fail (what)
  say ("error", what)
  close_session ()
  os.exit (3)
end

-- Lets the engine run some cycles so that queued parameter changes reach the plug-in.
local function settle (microseconds)
  ARDOUR.LuaAPI.usleep (microseconds)
end

-- One accessor per parameter id: get, set and the declared default, in the host's units.
local function controlsOf (proc)
  local controls = {}

  if format == "vst3" then
    local plugin = proc:to_insert ():plugin (0)

    for i = 0, plugin:parameter_count () - 1 do
      local label = plugin:parameter_label (i)
      local id = string.lower (string.sub (label, 1, 1)) .. string.sub (label, 2)
      local _, d = plugin:get_parameter_descriptor (i, ARDOUR.ParameterDescriptor ())
      local normal = d[2].normal
      controls[id] = {
        get = function () return ARDOUR.LuaAPI.get_processor_param (proc, i) end,
        set = function (v) return ARDOUR.LuaAPI.set_processor_param (proc, i, v) end,
        default = normal,
      }
    end
  else
    local automatable = proc:to_automatable ()

    for p in automatable:all_automatable_params ():iter () do
      local control = automatable:automation_control (p, false)
      local id = string.match (control:name (), "^property%-" .. lv2Uri:gsub ("%p", "%%%0") .. ":(%w+)$")

      if id then
        controls[id] = {
          get = function () return control:get_value () end,
          set = function (v) control:set_value (v, PBD.GroupControlDisposition.NoGroup); return true end,
          default = control:desc ().normal,
        }
      end
    end
  end

  return controls
end

-- A parameter that the plug-in keeps from host automation may not be offered to the host at all.
local function printValues (controls, when)
  for _, id in ipairs (ids) do
    if controls[id] then
      say ("value", when, id, string.format ("%.6f", controls[id].get ()))
    end
  end
end

-- Names every binary of a Zurizaz bundle mapped into Ardour, so that the driver can tell which
-- copy of the plug-in ran.
local function printBinaries ()
  local maps = io.open ("/proc/self/maps")
  if not maps then fail ("cannot read /proc/self/maps") end
  local seen = {}
  for line in maps:lines () do
    local path = string.match (line, "%s(/.*)$")
    local file = path and string.match (path, "[^/]+$")
    if (file == "Zurizaz.so" or file == "libZurizaz.so") and not seen[path] then
      seen[path] = true
      say ("binary", path)
    end
  end
  maps:close ()
end

local function findPlugin (session, name)
  for route in session:get_routes ():iter () do
    if route:name () == "T" then
      for i = 0, 3 do
        local proc = route:nth_plugin (i)
        if not proc:isnil () and proc:name () == name then return proc end
      end
    end
  end
  fail ("the session holds no " .. name .. " on track T")
end

local function save (session, when)
  local rv = session:save_state ("", false, false, false, false, false)
  say ("saved", when, tostring (rv))
end

local backend = AudioEngine:set_backend ("None (Dummy)", "", "")

if stage == "create" then
  local session = create_session (dir, name, 48000)
  if not session then fail ("cannot create the session") end

  local track = session:new_audio_track (2, 2, nil, 1, "T", ARDOUR.PresentationInfo.max_order,
                                         ARDOUR.TrackMode.Normal, true):front ()
  local proc = ARDOUR.LuaAPI.new_plugin (session, format == "vst3" and vst3Uid or lv2Uri,
                                         format == "vst3" and ARDOUR.PluginType.VST3 or ARDOUR.PluginType.LV2, "")
  if proc:isnil () then fail ("Ardour cannot load the " .. format .. " plug-in") end

  track:add_processor_by_index (proc, 0, nil, true)
  proc:activate ()
  printBinaries ()

  if listen then
    local probe = ARDOUR.LuaAPI.new_plugin (session, "Zurizaz level probe", ARDOUR.PluginType.Lua, "")
    if probe:isnil () then fail ("Ardour cannot load the level probe") end
    track:add_processor_by_index (probe, 1, nil, true)
    track:monitoring_control ():set_value (ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)
  end

  if nanSource then
    local source = ARDOUR.LuaAPI.new_plugin (session, "Zurizaz NaN source", ARDOUR.PluginType.Lua, "")
    if source:isnil () then fail ("Ardour cannot load the NaN source") end
    track:add_processor_by_index (source, 0, nil, true)
  end

  settle (300000)

  local controls = controlsOf (proc)

  for _, id in ipairs (ids) do
    if controls[id] then
      say ("default", id, string.format ("%.6f", controls[id].default))
    else
      say ("hidden", id)
    end
  end

  printValues (controls, "fresh")

  -- The presets Ardour offers for the plug-in, and how many of them have no name.
  local presets, nameless = 0, 0
  for preset in proc:to_insert ():plugin (0):get_info ():get_presets (false):iter () do
    presets = presets + 1
    if preset.label == "" then nameless = nameless + 1 end
  end
  say ("presets", presets, nameless)

  -- Each setting on its own, with engine cycles in between, in the order given.
  for _, s in ipairs (settings) do
    if controls[s[1]] == nil then
      say ("unset", s[1])
    elseif not controls[s[1]].set (s[2]) then
      fail ("cannot set " .. s[1])
    end
    settle (200000)
  end

  printValues (controls, "set")
  save (session, "first")
  settle (500000)
  printValues (controls, "after-save")
  close_session ()
elseif stage == "reopen" then
  local session = load_session (dir, name)
  if not session then fail ("cannot load the session") end

  local proc = findPlugin (session, "Zurizaz")
  printBinaries ()
  settle (300000)
  local controls = controlsOf (proc)
  printValues (controls, "loaded")

  session:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
  settle (1000000)
  say ("played", tostring (session:transport_sample ()))
  session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
  settle (300000)

  printValues (controls, "played")
  save (session, "second")
  settle (500000)
  printValues (controls, "after-save")
  close_session ()
elseif stage == "listen" then
  backend:set_device_name ("DC -6dBFS (+.5)")
  local session = load_session (dir, name)
  if not session then fail ("cannot load the session") end

  findPlugin (session, "Zurizaz")
  printBinaries ()
  local probe = findPlugin (session, "Zurizaz level probe")

  settle (300000)
  session:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
  settle (2500000)
  session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)

  local shmem = probe:to_insert ():plugin (0):to_luaproc ():shmem ()
  local count = shmem:to_int (0):array ()[1]
  local peaks = shmem:to_float (1):array ()
  local nonFinite = shmem:to_float (1 + 8192):array ()
  local line, bad = {}, {}
  for i = 1, count do
    line[#line + 1] = string.format ("%.4f", peaks[i])
    bad[#bad + 1] = string.format ("%d", nonFinite[i])
  end
  say ("peaks", count, table.concat (line, " "))
  say ("nonfinite", count, table.concat (bad, " "))
  close_session ()
else
  fail ("unknown stage " .. tostring (stage))
end
