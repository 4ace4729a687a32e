"""A local SMTP server for tests: accepts mail on 127.0.0.1 at a port the system picks, prints that
port on the first line of its output, and stores each message as <n>.eml in the given folder with
the envelope (sender, recipients, login) beside it in <n>.envelope. AUTH PLAIN/LOGIN is offered
without TLS and accepts only the user and password given on the command line. With
"--starttls CERT KEY" the server requires STARTTLS before mail; with "--tls CERT KEY" it speaks TLS
from the first byte."""

import asyncio
import os
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class Mailbox:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        content = envelope.original_content or envelope.content
        auth = session.auth_data
        login = auth.login.decode() if isinstance(auth, LoginPassword) else ""
        with open(base + ".envelope", "w", encoding="utf-8") as out:
            out.write("\n".join([envelope.mail_from, login] + list(envelope.rcpt_tos)) + "\n")
        with open(base + ".tmp", "wb") as out:
            out.write(content)
        os.rename(base + ".tmp", base + ".eml")
        return "250 Message accepted"


def main():
    folder, user, password = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = isinstance(auth_data, LoginPassword) and auth_data.login == user and auth_data.password == password
        return AuthResult(success=ok, handled=False, auth_data=auth_data)

    mailbox = Mailbox(folder)
    mode = sys.argv[4] if len(sys.argv) > 4 else ""
    context = None
    if mode in ("--starttls", "--tls"):
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[5], sys.argv[6])

    def protocol():
        if mode == "--starttls":
            return SMTP(mailbox, authenticator=authenticate, auth_required=True, tls_context=context,
                        require_starttls=True)
        return SMTP(mailbox, authenticator=authenticate, auth_require_tls=False, auth_required=True)

    async def serve():
        loop = asyncio.get_running_loop()
        server = await loop.create_server(protocol, "127.0.0.1", 0, ssl=context if mode == "--tls" else None)
        print(server.sockets[0].getsockname()[1], flush=True)
        await server.serve_forever()

    asyncio.run(serve())


if __name__ == "__main__":
    main()
