"""Local stand-in for Veltrane's platform server, test servers, download
mirrors and application sites. Standard library only (plus python3-docx for
the report document), run by Debian's /usr/bin/python3."""
