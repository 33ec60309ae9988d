/* A session manager for one client, for the end-of-session check: prints
   its SESSION_MANAGER address, and once a client has registered and told
   its properties, ends the session (Die). Exits 0 when the client has closed
   its connection, 1 when nothing happened within 20 seconds. */
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static SmsConn client;
static IceConn connection;
static int told, closed;

static Status on_register(SmsConn c, SmPointer data, char *previous) {
  (void)data;
  free(previous);
  char *id = SmsGenerateClientID(c);
  return SmsRegisterClientReply(c, id ? id : "1test");
}
static void on_properties(SmsConn c, SmPointer data, int n, SmProp **props) {
  (void)c, (void)data;
  for (int i = 0; i < n; ++i) SmFreeProperty(props[i]);
  free(props);
  told = 1;
}
static void on_close(SmsConn c, SmPointer data, int n, char **reasons) {
  (void)c, (void)data;
  SmFreeReasons(n, reasons);
  closed = 1;
}
static void on_nothing(SmsConn c, SmPointer data) { (void)c, (void)data; }
static void on_save_done(SmsConn c, SmPointer data, Bool ok) { (void)c, (void)data, (void)ok; }
static void on_interact(SmsConn c, SmPointer data, int type) { (void)c, (void)data, (void)type; }
static void on_interact_done(SmsConn c, SmPointer data, Bool cancel) { (void)c, (void)data, (void)cancel; }
static void on_save_request(SmsConn c, SmPointer data, int style, Bool shutdown, int interact, Bool fast, Bool global) {
  (void)c, (void)data, (void)style, (void)shutdown, (void)interact, (void)fast, (void)global;
}
static void on_delete(SmsConn c, SmPointer data, int n, char **names) {
  (void)c, (void)data;
  for (int i = 0; i < n; ++i) free(names[i]);
  free(names);
}

static Status on_new_client(SmsConn c, SmPointer data, unsigned long *mask, SmsCallbacks *cb, char **failure) {
  (void)data, (void)failure;
  client = c;
  memset(cb, 0, sizeof *cb);
  cb->register_client.callback = on_register;
  cb->interact_request.callback = on_interact;
  cb->interact_done.callback = on_interact_done;
  cb->save_yourself_request.callback = on_save_request;
  cb->save_yourself_phase2_request.callback = on_nothing;
  cb->save_yourself_done.callback = on_save_done;
  cb->close_connection.callback = on_close;
  cb->set_properties.callback = on_properties;
  cb->delete_properties.callback = on_delete;
  cb->get_properties.callback = on_nothing;
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
          SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
          SmsGetPropertiesProcMask;
  return 1;
}

static Bool any_host(char *host) { (void)host; return True; }

int main(void) {
  char error[256];
  int count = 0;
  IceListenObj *listeners = NULL;
  if (!SmsInitialize("plumet-test", "1", on_new_client, NULL, any_host, sizeof error, error) ||
      !IceListenForConnections(&count, &listeners, sizeof error, error)) {
    fprintf(stderr, "session_manager: %s\n", error);
    return 2;
  }
  for (int i = 0; i < count; ++i) IceSetHostBasedAuthProc(listeners[i], any_host);
  printf("%s\n", IceComposeNetworkIdList(count, listeners));
  fflush(stdout);
  int died = 0;
  for (time_t end = time(NULL) + 20; time(NULL) < end && !closed;) {
    fd_set fds;
    FD_ZERO(&fds);
    int top = 0;
    for (int i = 0; i < count; ++i) {
      FD_SET(IceGetListenConnectionNumber(listeners[i]), &fds);
      if (IceGetListenConnectionNumber(listeners[i]) > top) top = IceGetListenConnectionNumber(listeners[i]);
    }
    if (connection) {
      FD_SET(IceConnectionNumber(connection), &fds);
      if (IceConnectionNumber(connection) > top) top = IceConnectionNumber(connection);
    }
    struct timeval wait = {0, 200000};
    if (select(top + 1, &fds, NULL, NULL, &wait) < 0) break;
    for (int i = 0; i < count; ++i) {
      if (connection || !FD_ISSET(IceGetListenConnectionNumber(listeners[i]), &fds)) continue;
      IceAcceptStatus status;
      connection = IceAcceptConnection(listeners[i], &status);
    }
    if (connection && FD_ISSET(IceConnectionNumber(connection), &fds) &&
        IceProcessMessages(connection, NULL, NULL) == IceProcessMessagesIOError) {
      closed = 1;
    }
    if (told && !died) {
      SmsDie(client);
      died = 1;
    }
  }
  return closed ? 0 : 1;
}
