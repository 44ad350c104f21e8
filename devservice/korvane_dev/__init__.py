"""Local stand-in for the Korvane account service, SMS gateway and mail server."""
