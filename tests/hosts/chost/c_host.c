/* A VST 3 host written in C on Debian's travesty headers: its objects (host application,
 * component handler, stream, parameter changes) are plain C structs whose first word points
 * at a table of functions, with no C++ type information behind them, as in hosts written in
 * C or in other languages. It loads a bundle's library, makes both halves, processes a sine
 * with bypass automation, saves and restores the state and hands it to the controller, then
 * ends everything. Exit status 0 when every step answered as a host expects and the audio is
 * finite and not silent.
 *
 * Usage: orvane_c_host <library.so> */
/* A few of travesty's declarations name structs without the struct keyword, as C++ allows. */
typedef struct v3_event_handler v3_event_handler;
typedef struct v3_timer_handler v3_timer_handler;
typedef struct v3_attribute_list v3_attribute_list;

#include "travesty/audio_processor.h"
#include "travesty/base.h"
#include "travesty/bstream.h"
#include "travesty/component.h"
#include "travesty/edit_controller.h"
#include "travesty/factory.h"
#include "travesty/host.h"

#include <dlfcn.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

enum { kBlock = 256, kBlocks = 200, kStreamCapacity = 1 << 16 };
static const v3_param_id kBypassID = 0x10000;

static int failures = 0;

static void check(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "c host: %s\n", what);
    ++failures;
  }
}

/* ---- objects every table shares: static lifetime, so references are not counted ---- */

static uint32_t V3_API no_count(void* self) {
  (void)self;
  return 1;
}

/* Answers FUnknown and one more interface: the object itself. */
static v3_result answer(void* self, const v3_tuid asked, const v3_tuid own, void** obj) {
  if (v3_tuid_match(asked, v3_funknown_iid) || v3_tuid_match(asked, own)) {
    *obj = self;
    return V3_OK;
  }
  *obj = NULL;
  return V3_NO_INTERFACE;
}

/* ---- host application ---- */

struct host_app {
  const struct v3_host_application* table;
};

static v3_result V3_API host_query(void* self, const v3_tuid iid, void** obj) {
  return answer(self, iid, v3_host_application_iid, obj);
}

static v3_result V3_API host_get_name(void* self, v3_str_128 name) {
  static const char text[] = "Orvane C Host";
  (void)self;
  for (size_t i = 0; i < sizeof text; ++i)
    name[i] = (int16_t)text[i];
  return V3_OK;
}

/* Messages and attribute lists are not offered: the plug-in must do without them. */
static v3_result V3_API host_create_instance(void* self, v3_tuid cid, v3_tuid iid, void** obj) {
  (void)self, (void)cid, (void)iid;
  *obj = NULL;
  return V3_NOT_IMPLEMENTED;
}

static const struct v3_host_application host_table = {.query_interface = host_query,
                                                      .ref = no_count,
                                                      .unref = no_count,
                                                      .get_name = host_get_name,
                                                      .create_instance = host_create_instance};
static struct host_app host = {&host_table};

/* ---- component handler ---- */

struct handler {
  const struct v3_component_handler* table;
};

static v3_result V3_API handler_query(void* self, const v3_tuid iid, void** obj) {
  return answer(self, iid, v3_component_handler_iid, obj);
}

static v3_result V3_API handler_edit(void* self, v3_param_id id) {
  (void)self, (void)id;
  return V3_OK;
}

static v3_result V3_API handler_perform(void* self, v3_param_id id, double value) {
  (void)self, (void)id, (void)value;
  return V3_OK;
}

static v3_result V3_API handler_restart(void* self, int32_t flags) {
  (void)self, (void)flags;
  return V3_OK;
}

static const struct v3_component_handler handler_table = {.query_interface = handler_query,
                                                          .ref = no_count,
                                                          .unref = no_count,
                                                          .begin_edit = handler_edit,
                                                          .perform_edit = handler_perform,
                                                          .end_edit = handler_edit,
                                                          .restart_component = handler_restart};
static struct handler handler = {&handler_table};

/* ---- memory stream ---- */

struct stream {
  const struct v3_bstream* table;
  uint8_t bytes[kStreamCapacity];
  int64_t size, pos;
};

static v3_result V3_API stream_query(void* self, const v3_tuid iid, void** obj) {
  return answer(self, iid, v3_bstream_iid, obj);
}

static v3_result V3_API stream_read(void* self, void* buffer, int32_t n, int32_t* done) {
  struct stream* s = self;
  int64_t left = s->size - s->pos;
  int32_t count = n < 0 ? 0 : (int64_t)n < left ? n : (int32_t)left;
  memcpy(buffer, s->bytes + s->pos, (size_t)count);
  s->pos += count;
  if (done)
    *done = count;
  return n < 0 ? V3_INVALID_ARG : V3_OK;
}

static v3_result V3_API stream_write(void* self, void* buffer, int32_t n, int32_t* done) {
  struct stream* s = self;
  if (n < 0 || s->pos + n > kStreamCapacity)
    return V3_INVALID_ARG;
  memcpy(s->bytes + s->pos, buffer, (size_t)n);
  s->pos += n;
  if (s->pos > s->size)
    s->size = s->pos;
  if (done)
    *done = n;
  return V3_OK;
}

static v3_result V3_API stream_seek(void* self, int64_t pos, int32_t mode, int64_t* result) {
  struct stream* s = self;
  int64_t base = mode == V3_SEEK_SET ? 0 : mode == 1 ? s->pos : s->size;
  if (base + pos < 0 || base + pos > s->size)
    return V3_INVALID_ARG;
  s->pos = base + pos;
  if (result)
    *result = s->pos;
  return V3_OK;
}

static v3_result V3_API stream_tell(void* self, int64_t* pos) {
  *pos = ((struct stream*)self)->pos;
  return V3_OK;
}

static const struct v3_bstream stream_table = {.query_interface = stream_query,
                                               .ref = no_count,
                                               .unref = no_count,
                                               .read = stream_read,
                                               .write = stream_write,
                                               .seek = stream_seek,
                                               .tell = stream_tell};
static struct stream state = {&stream_table, {0}, 0, 0};

/* ---- parameter changes: one queue, the bypass with one point at the block start ---- */

struct queue {
  const struct v3_param_value_queue* table;
  double value;
};

static v3_result V3_API queue_query(void* self, const v3_tuid iid, void** obj) {
  return answer(self, iid, v3_param_value_queue_iid, obj);
}

static v3_param_id V3_API queue_id(void* self) {
  (void)self;
  return kBypassID;
}

static int32_t V3_API queue_count(void* self) {
  (void)self;
  return 1;
}

static v3_result V3_API queue_point(void* self, int32_t idx, int32_t* offset, double* value) {
  if (idx != 0)
    return V3_INVALID_ARG;
  *offset = 0;
  *value = ((struct queue*)self)->value;
  return V3_OK;
}

static v3_result V3_API queue_add(void* self, int32_t offset, double value, int32_t* idx) {
  (void)self, (void)offset, (void)value, (void)idx;
  return V3_FALSE;
}

static const struct v3_param_value_queue queue_table = {.query_interface = queue_query,
                                                        .ref = no_count,
                                                        .unref = no_count,
                                                        .get_param_id = queue_id,
                                                        .get_point_count = queue_count,
                                                        .get_point = queue_point,
                                                        .add_point = queue_add};
static struct queue bypass_queue = {&queue_table, 0.0};

struct changes {
  const struct v3_param_changes* table;
  int32_t count;
};

static v3_result V3_API changes_query(void* self, const v3_tuid iid, void** obj) {
  return answer(self, iid, v3_param_changes_iid, obj);
}

static int32_t V3_API changes_count(void* self) {
  return ((struct changes*)self)->count;
}

static struct v3_param_value_queue** V3_API changes_data(void* self, int32_t idx) {
  return idx >= 0 && idx < ((struct changes*)self)->count
             ? (struct v3_param_value_queue**)&bypass_queue
             : NULL;
}

static struct v3_param_value_queue** V3_API changes_add(void* self, v3_param_id* id, int32_t* idx) {
  (void)self, (void)id, (void)idx;
  return NULL; /* the host reads no output points */
}

static const struct v3_param_changes changes_table = {.query_interface = changes_query,
                                                      .ref = no_count,
                                                      .unref = no_count,
                                                      .get_param_count = changes_count,
                                                      .get_param_data = changes_data,
                                                      .add_param_data = changes_add};
static struct changes input_changes = {&changes_table, 0};
static struct changes output_changes = {&changes_table, 0};

/* ---- calls through the plug-in's tables ---- */

#define CALL(object, table_type, method, ...)                                                      \
  ((*(const struct table_type**)(object))->method((object), __VA_ARGS__))
#define CALL0(object, table_type, method) ((*(const struct table_type**)(object))->method((object)))

static void* query(void* object, const v3_tuid iid) {
  void* result = NULL;
  if (CALL(object, v3_funknown, query_interface, iid, &result) != V3_OK)
    return NULL;
  return result;
}

static void rewind_state(void) {
  state.pos = 0;
}

static double process_blocks(void* processor) {
  static float in[2][kBlock], out[2][kBlock];
  float* in_ptrs[2] = {in[0], in[1]};
  float* out_ptrs[2] = {out[0], out[1]};
  struct v3_audio_bus_buffers in_bus = {.num_channels = 2, .channel_silence_bitset = 0};
  struct v3_audio_bus_buffers out_bus = {.num_channels = 2, .channel_silence_bitset = 0};
  in_bus.channel_buffers_32 = in_ptrs;
  out_bus.channel_buffers_32 = out_ptrs;
  struct v3_process_data data = {.process_mode = V3_REALTIME,
                                 .symbolic_sample_size = V3_SAMPLE_32,
                                 .nframes = kBlock,
                                 .num_input_buses = 1,
                                 .num_output_buses = 1,
                                 .inputs = &in_bus,
                                 .outputs = &out_bus,
                                 .input_params = (struct v3_param_changes**)&input_changes,
                                 .output_params = (struct v3_param_changes**)&output_changes};
  double energy = 0.0;
  long n = 0;
  for (int block = 0; block < kBlocks; ++block) {
    for (int i = 0; i < kBlock; ++i) {
      float x = 0.5f * (float)sin(2.0 * M_PI * 1000.0 * (double)(block * kBlock + i) / 48000.0);
      in[0][i] = in[1][i] = x;
    }
    /* The bypass switched on for a stretch in the middle, as automation would. */
    input_changes.count = block == 80 || block == 120;
    bypass_queue.value = block == 80 ? 1.0 : 0.0;
    check(CALL(processor, v3_audio_processor, process, &data) == V3_OK, "process failed");
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < kBlock; ++i) {
        check(isfinite(out[c][i]), "output not finite");
        if (block >= kBlocks / 2) {
          energy += (double)out[c][i] * out[c][i];
          ++n;
        }
      }
  }
  return sqrt(energy / (double)n);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <library.so>\n", argv[0]);
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    fprintf(stderr, "c host: %s\n", dlerror());
    return 1;
  }
  bool (*module_entry)(void*) = (bool (*)(void*))dlsym(library, "ModuleEntry");
  bool (*module_exit)(void) = (bool (*)(void))dlsym(library, "ModuleExit");
  void* (*get_factory)(void) = (void* (*)(void))dlsym(library, "GetPluginFactory");
  if (!module_entry || !module_exit || !get_factory || !module_entry(library)) {
    fprintf(stderr, "c host: no module entry or factory\n");
    return 1;
  }
  void* factory = get_factory();
  check(factory != NULL, "no factory");
  if (!factory)
    return 1;

  struct v3_class_info info;
  v3_tuid processor_cid = {0};
  int found = 0;
  int32_t classes = CALL0(factory, v3_plugin_factory, num_classes);
  for (int32_t i = 0; i < classes && !found; ++i) {
    if (CALL(factory, v3_plugin_factory, get_class_info, i, &info) == V3_OK &&
        strcmp(info.category, "Audio Module Class") == 0) {
      memcpy(processor_cid, info.class_id, sizeof processor_cid);
      found = 1;
    }
  }
  check(found, "no audio module class");

  void* component = NULL;
  check(found &&
            CALL(factory, v3_plugin_factory, create_instance, processor_cid, v3_component_iid,
                 &component) == V3_OK &&
            component,
        "component not created");
  if (!component)
    return 1;
  check(CALL(component, v3_plugin_base, initialize, (struct v3_funknown**)&host) == V3_OK,
        "component initialize failed");
  void* processor = query(component, v3_audio_processor_iid);
  check(processor != NULL, "no audio processor");

  v3_tuid controller_cid;
  void* controller = NULL;
  if (CALL(component, v3_component, get_controller_class_id, controller_cid) == V3_OK)
    CALL(factory, v3_plugin_factory, create_instance, controller_cid, v3_edit_controller_iid,
         &controller);
  check(controller != NULL, "controller not created");
  if (controller) {
    check(CALL(controller, v3_plugin_base, initialize, (struct v3_funknown**)&host) == V3_OK,
          "controller initialize failed");
    check(CALL(controller, v3_edit_controller, set_component_handler,
               (struct v3_component_handler**)&handler) == V3_OK,
          "component handler refused");
  }

  double rms = 0.0;
  if (processor) {
    v3_speaker_arrangement stereo = V3_SPEAKER_L | V3_SPEAKER_R;
    CALL(processor, v3_audio_processor, set_bus_arrangements, &stereo, 1, &stereo, 1);
    CALL(component, v3_component, activate_bus, V3_AUDIO, V3_INPUT, 0, 1);
    CALL(component, v3_component, activate_bus, V3_AUDIO, V3_OUTPUT, 0, 1);
    struct v3_process_setup setup = {V3_REALTIME, V3_SAMPLE_32, kBlock, 48000.0};
    check(CALL(processor, v3_audio_processor, setup_processing, &setup) == V3_OK,
          "setup_processing failed");
    check(CALL(component, v3_component, set_active, 1) == V3_OK, "set_active failed");
    CALL(processor, v3_audio_processor, set_processing, 1);
    rms = process_blocks(processor);
    check(rms > 0.01, "output silent");

    /* The state saved while active goes back to both halves. */
    check(CALL(component, v3_component, get_state, (struct v3_bstream**)&state) == V3_OK &&
              state.size > 0,
          "get_state failed");
    rewind_state();
    check(CALL(component, v3_component, set_state, (struct v3_bstream**)&state) == V3_OK,
          "set_state refused its own state");
    rewind_state();
    if (controller)
      check(CALL(controller, v3_edit_controller, set_component_state,
                 (struct v3_bstream**)&state) == V3_OK,
            "set_component_state refused the processor's state");
    rms = process_blocks(processor);
    check(rms > 0.01, "output silent after the restore");

    CALL(processor, v3_audio_processor, set_processing, 0);
    CALL(component, v3_component, set_active, 0);
    CALL0(processor, v3_funknown, unref);
  }
  if (controller) {
    CALL0(controller, v3_plugin_base, terminate);
    CALL0(controller, v3_funknown, unref);
  }
  CALL0(component, v3_plugin_base, terminate);
  CALL0(component, v3_funknown, unref);
  CALL0(factory, v3_funknown, unref);
  check(module_exit(), "module exit failed");
  dlclose(library);
  printf("c host: %d blocks twice, output rms %.4f, %d failures\n", kBlocks, rms, failures);
  return failures == 0 ? 0 : 1;
}
